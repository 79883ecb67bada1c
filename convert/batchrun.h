#pragma once

#include <QChar>
#include <QString>

#include <functional>
#include <memory>

#include "common/paths.h"
#include "common/platform/filesystem.h"
#include "convert/officebridge.h"
#include "convert/resultfile.h"

namespace slate {

class Dialogs;
class ErrorReporter;
class GuardedProcedure;
class JobList;
class RunView;

namespace runtext {
inline const QString kNoFiles = QStringLiteral("No files added.");
inline const QString kNoFolder =
    QStringLiteral("Folder does not exist. Please select another folder.");
inline const QString kDone = QStringLiteral("Done.");
inline const QString kProcessing = QStringLiteral("Processing: ");
inline const QString kProgressRest = QStringLiteral("Progress Bar");
}  // namespace runtext

// What one click of "Start Converting" came to.
struct RunSummary {
    enum class Outcome {
        Ignored,    // a run was already going on
        NoFiles,    // refused: the list was empty
        NoFolder,   // refused: the output folder does not exist
        Completed,  // the loop ran and "Done." was shown
    };
    Outcome outcome = Outcome::Ignored;
    int attempted = 0;  // files the loop went through
    int converted = 0;  // files whose save was made and seen on disk
    int failed = 0;     // files with at least one reported failure (a refused one included)
    int reports = 0;    // error reports of the whole run
};

// The "Start Converting" handler: converts every row of the job list, in order, through the
// office, under the error policy (a failed step is reported and the run goes on).
class BatchRun {
  public:
    // `separator` is the one the list's paths use; the native one unless paths of another
    // system are being converted (tests use "\").
    BatchRun(JobList& jobs, RunView& view, OfficeBridge& bridge, Dialogs& dialogs,
             ErrorReporter& reporter, FileSystem& files, QChar separator = kNativeSeparator);

    // The click. A click while a run is going on is ignored.
    RunSummary start();

    bool isConverting() const { return converting_; }
    const RunSummary& lastSummary() const { return summary_; }

    // Called as each file starts (1-based index, the loop's bound, the row's text) and as it
    // ends (whether it was converted); for front ends that show more than the progress bar.
    std::function<void(int index, int count, const QString& source)> onFileStarted;
    std::function<void(int index, const QString& source, bool converted)> onFileFinished;

    // Runs the files somewhere else than in this run's own loop (several offices at once).
    // When set, start() calls it with the loop's bound in place of that loop; it returns what
    // the files came to (attempted, converted, failed, reports).
    std::function<RunSummary(int count)> fileLoop;

    // What one file's steps came to.
    struct FileOutcome {
        bool converted = false;
        int reports = 0;
    };
    // One file's steps, 110 to 166, with its reports going to `reporter`.
    FileOutcome convertOne(int index, int count, ErrorReporter& reporter);
    // A run over the same list, output options and results as this one, with an office and a
    // view of its own: for converting this run's files on several offices at once, each
    // through a sibling whose convertOne() is called from that office's thread.
    std::unique_ptr<BatchRun> sibling(OfficeBridge& bridge, RunView& view) const;

  private:
    struct FileSlots;

    void runLoop(GuardedProcedure& g);
    // One file's steps, in order.
    void convertFile(GuardedProcedure& g, int index, int count);
    bool readRow(GuardedProcedure& g, FileSlots& s, int index);
    void announceFile(GuardedProcedure& g, const FileSlots& s, int index, int count);
    void planBasePath(GuardedProcedure& g, FileSlots& s);
    void openDocument(GuardedProcedure& g, FileSlots& s);
    void planOutputPath(GuardedProcedure& g, FileSlots& s);
    void prepareSave(GuardedProcedure& g, FileSlots& s);
    void saveAndVerify(FileSlots& s);

    void refuseMissingSource(const QString& source);
    void refuseEmptySource(const QString& source);
    void refuseOverwrites(const FileSlots& s);
    static PropertyList saveProperties(const FileSlots& s);
    // Has the office save into a fresh private folder; the path of the file it wrote.
    QString saveIntoPrivateFolder(FileSlots& s, PropertyList& save);
    void verifyWritten(const QString& written, const QString& target);

    JobList& jobs_;
    RunView& view_;
    OfficeBridge& bridge_;
    Dialogs& dialogs_;
    ErrorReporter& reporter_;
    QChar separator_;
    FileSystem& files_;
    RunResults results_;
    bool converting_ = false;
    RunSummary summary_;
};

}  // namespace slate
