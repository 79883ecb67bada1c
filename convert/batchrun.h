// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

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
inline const QString kNoOutputChosen = QStringLiteral(
    "%1 was not converted: no output location is chosen. Choose \"Save results "
    "to this folder:\" or \"Save results in folder of original file\".");
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

    // Counts `target` as written from `source` in every later run of this one, though no
    // file of the run writes it: a result found up to date still takes its name, so a later
    // source with that result is refused as it would be had the result just been made.
    void countAsTaken(const QString& target, const QString& source);
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

    // One file's steps taken apart, for a run whose caller keeps handling events and converts
    // on other threads; each part reports to `reporter` and runs the steps the whole file runs,
    // in the same order.
    struct FileSlots;
    using FileWork = std::shared_ptr<FileSlots>;
    // On the caller's thread: reads the row and shows the file (110 to the step that lets
    // events run, which the caller's own event loop stands in for). `rowRead` is false when the
    // row is gone; the file then goes straight to endFile().
    FileWork startFile(int index, int count, ErrorReporter& reporter, bool& rowRead);
    // On the caller's thread, after events have run: the busy pointer and the base path.
    void planFile(FileSlots& file, ErrorReporter& reporter);
    // On an office's thread, through a sibling: opening, planning the target, saving, closing.
    void convertStarted(FileSlots& file, ErrorReporter& reporter);
    // On the caller's thread: the steps after the file; whether it was converted.
    bool endFile(FileSlots& file, int index, ErrorReporter& reporter);
    static QString sourceOf(const FileSlots& file);

  private:
    void runLoop(GuardedProcedure& g);
    // One file's steps, in order.
    void convertFile(GuardedProcedure& g, int index, int count);
    bool readRow(GuardedProcedure& g, FileSlots& s, int index);
    void announceFile(GuardedProcedure& g, const FileSlots& s, int index, int count,
                      bool letEvents = true);
    void officeSteps(GuardedProcedure& g, FileSlots& s, bool showBusy = true);
    void afterFile(GuardedProcedure& g, const FileSlots& s, int index);
    void planBasePath(GuardedProcedure& g, FileSlots& s);
    void openDocument(GuardedProcedure& g, FileSlots& s, bool showBusy = true);
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
    QList<std::pair<QString, QString>> taken_;
    bool converting_ = false;
    RunSummary summary_;
};

}  // namespace slate
