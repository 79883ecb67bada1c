// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/batchrun.h"

#include <array>
#include <exception>
#include <memory>
#include <optional>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/interaction.h"
#include "convert/convertsteps.h"
#include "convert/fileurl.h"
#include "convert/officebridge.h"
#include "convert/officecalls.h"
#include "convert/runview.h"
#include "convert/savefolder.h"
#include "joblist/joblist.h"

namespace slate {

namespace {

constexpr QChar kSlash = QLatin1Char('/');

QString quoted(const QString& path) {
    return quotedName(path);
}

// A failure's message, followed by its cause when one is known.
QString withCause(const QString& message, const QString& cause) {
    return cause.isEmpty() ? message : message + QLatin1Char(' ') + cause;
}

// The run's last step clears the run flag; this clears it when a report itself throws and
// the steps are left, so the button does not stay dead.
struct ConvertingFlag {
    bool& flag;
    ~ConvertingFlag() {
        if (std::uncaught_exceptions() > 0)
            flag = false;
    }
};

}  // namespace

// Everything one file's steps produce. A fresh set for every file: a step that fails leaves
// its slot empty instead of handing the previous file's object or path to the next steps.
struct BatchRun::FileSlots {
    QString source;
    QString fileName;
    QString extension;
    QString basePath;
    QString outputPath;
    QString targetUrl;
    OfficeRef serviceManager;
    OfficeRef desktop;
    OfficeRef document;
    OfficeRef dispatchHelper;
    OfficeRef controller;
    OfficeRef frame;
    std::array<std::optional<PropertyValue>, 3> saveProperties;
    // Where the office writes before the result takes its name; it goes with the slots, so
    // after the document is closed.
    std::unique_ptr<SaveFolder> saveFolder;
    bool converted = false;
};

BatchRun::BatchRun(JobList& jobs, RunView& view, OfficeBridge& bridge, Dialogs& dialogs,
                   ErrorReporter& reporter, FileSystem& files, QChar separator)
    : jobs_(jobs),
      view_(view),
      bridge_(bridge),
      dialogs_(dialogs),
      reporter_(reporter),
      separator_(separator),
      files_(files),
      results_(files) {}

RunSummary BatchRun::start() {
    // A second click while a run is going on does nothing at all.
    if (converting_)
        return RunSummary{};

    summary_ = RunSummary{};
    results_.clear();
    for (const auto& [target, source] : taken_)
        results_.record(target, source);
    GuardedProcedure g(reporter_, location::kConvert);
    ConvertingFlag flag{converting_};
    g.step(ConvertStep::MarkRunning, [&] { converting_ = true; });
    if (g.test(ConvertStep::CheckFiles, [&] { return jobs_.count() >= 1; })) {
        if (g.test(ConvertStep::CheckFolder, [&] {
                const OutputChoice choice = view_.outputChoice();
                return FolderExists(choice.folder, files_) || choice.besideSource();
            })) {
            runLoop(g);
            g.step(ConvertStep::ShowDone, [&] { dialogs_.message(runtext::kDone); });
            summary_.outcome = RunSummary::Outcome::Completed;
        } else {
            g.step(ConvertStep::ShowNoFolder, [&] { dialogs_.message(runtext::kNoFolder); });
            summary_.outcome = RunSummary::Outcome::NoFolder;
        }
    } else {
        g.step(ConvertStep::ShowNoFiles, [&] { dialogs_.message(runtext::kNoFiles); });
        summary_.outcome = RunSummary::Outcome::NoFiles;
    }
    g.step(ConvertStep::MarkIdle, [&] { converting_ = false; });
    summary_.reports += g.failures();
    return summary_;
}

void BatchRun::countAsTaken(const QString& target, const QString& source) {
    taken_.append({target, source});
}

BatchRun::FileOutcome BatchRun::convertOne(int index, int count, ErrorReporter& reporter) {
    GuardedProcedure g(reporter, location::kConvert);
    const int convertedBefore = summary_.converted;
    convertFile(g, index, count);
    return {summary_.converted > convertedBefore, g.failures()};
}

std::unique_ptr<BatchRun> BatchRun::sibling(OfficeBridge& bridge, RunView& view) const {
    auto run =
        std::make_unique<BatchRun>(jobs_, view, bridge, dialogs_, reporter_, files_, separator_);
    run->results_.shareWith(results_);
    return run;
}

void BatchRun::runLoop(GuardedProcedure& g) {
    // The bound is taken once: rows added while the run handles events are not converted by
    // it. No 16-bit limit: every row of a long list is converted.
    int count = 0;
    int index = 1;
    const bool anyRow = g.test(ConvertStep::TakeCount, [&] {
        count = jobs_.count();
        index = 1;
        return index <= count;
    });
    if (anyRow) {
        // Taken before the first save: a result landing on a later row's file would destroy
        // a source the run has yet to convert.
        QStringList sources;
        for (int row = 0; row < count; ++row)
            sources << jobs_.text(row);
        results_.noteSources(sources);
    }
    if (anyRow && fileLoop) {
        const RunSummary files = fileLoop(count);
        summary_.attempted += files.attempted;
        summary_.converted += files.converted;
        summary_.failed += files.failed;
        summary_.reports += files.reports;
    } else if (anyRow) {
        do {
            const int failuresBefore = g.failures();
            convertFile(g, index, count);
            ++summary_.attempted;
            if (g.failures() > failuresBefore)
                ++summary_.failed;
        } while (g.test(ConvertStep::NextFile, [&] { return ++index <= count; }));
    }
    g.step(ConvertStep::DefaultPointer, [&] { view_.setMousePointer(MousePointer::Default); });
    g.step(ConvertStep::ResetProgress, [&] { view_.setProgressValue(0); });
    g.step(ConvertStep::ResetProgressText, [&] { view_.setProgressText(runtext::kProgressRest); });
}

void BatchRun::convertFile(GuardedProcedure& g, int index, int count) {
    FileSlots s;
    // A row that is gone (the list was cleared meanwhile) has nothing to convert; going on
    // would only hand an empty path to the office and report the same loss five more times.
    if (readRow(g, s, index)) {
        announceFile(g, s, index, count);
        planBasePath(g, s);
        officeSteps(g, s);
    }
    afterFile(g, s, index);
    if (s.converted)
        ++summary_.converted;
}

void BatchRun::officeSteps(GuardedProcedure& g, FileSlots& s, bool showBusy) {
    openDocument(g, s, showBusy);
    planOutputPath(g, s);
    prepareSave(g, s);
    g.step(ConvertStep::SaveAndVerify, [&] { saveAndVerify(s); });
    g.step(ConvertStep::CloseDocument, [&] { bridge_.close(s.document, true); });
    g.step(ConvertStep::ReleaseDocument, [&] { s.document.reset(); });
}

void BatchRun::afterFile(GuardedProcedure& g, const FileSlots& s, int index) {
    g.step(ConvertStep::BusyAfterFile, [&] { view_.setMousePointer(MousePointer::Busy); });
    if (onFileFinished)
        onFileFinished(index, s.source, s.converted);
}

BatchRun::FileWork BatchRun::startFile(int index, int count, ErrorReporter& reporter,
                                       bool& rowRead) {
    GuardedProcedure g(reporter, location::kConvert);
    auto s = std::make_shared<FileSlots>();
    rowRead = readRow(g, *s, index);
    if (rowRead)
        announceFile(g, *s, index, count, false);
    return s;
}

void BatchRun::planFile(FileSlots& s, ErrorReporter& reporter) {
    GuardedProcedure g(reporter, location::kConvert);
    g.step(ConvertStep::BusyBeforePlan, [&] { view_.setMousePointer(MousePointer::Busy); });
    planBasePath(g, s);
    g.step(ConvertStep::BusyBeforeOffice, [&] { view_.setMousePointer(MousePointer::Busy); });
}

void BatchRun::convertStarted(FileSlots& s, ErrorReporter& reporter) {
    GuardedProcedure g(reporter, location::kConvert);
    // The caller showed the busy pointer before handing the file over.
    officeSteps(g, s, false);
    // The private save folder goes now, on the thread that used it, not with the last owner.
    s.saveFolder.reset();
}

bool BatchRun::endFile(FileSlots& s, int index, ErrorReporter& reporter) {
    GuardedProcedure g(reporter, location::kConvert);
    afterFile(g, s, index);
    return s.converted;
}

QString BatchRun::sourceOf(const FileSlots& s) {
    return s.source;
}

bool BatchRun::readRow(GuardedProcedure& g, FileSlots& s, int index) {
    const bool rowRead = g.step(ConvertStep::ReadRow, [&] { s.source = jobs_.text(index - 1); });
    g.step(ConvertStep::ShowProgress, [&] {
        const int rowsNow = jobs_.count();
        if (rowsNow == 0)
            throw AppError(QStringLiteral("Division by zero"));
        const double value = static_cast<double>(index) / rowsNow * 100.0;
        if (value > 100.0)
            throw AppError(QStringLiteral("Invalid property value"));
        view_.setProgressValue(value);
    });
    return rowRead;
}

void BatchRun::announceFile(GuardedProcedure& g, const FileSlots& s, int index, int count,
                            bool letEvents) {
    g.step(ConvertStep::ShowFileName, [&] {
        view_.setProgressText(runtext::kProcessing + GetFileName(s.source, separator_));
        if (onFileStarted)
            onFileStarted(index, count, s.source);
    });
    if (!letEvents)
        return;
    g.step(ConvertStep::LetEventsRun, [&] { view_.processPendingEvents(); });
    g.step(ConvertStep::BusyBeforePlan, [&] { view_.setMousePointer(MousePointer::Busy); });
}

void BatchRun::planBasePath(GuardedProcedure& g, FileSlots& s) {
    // Only the file name's last extension goes: a dot in a folder name or an earlier
    // extension must not make the result land on another file's name. The pieces are those
    // of resultPathFor(), which decides which files of a run may meet.
    g.step(ConvertStep::TakeFileName, [&] { s.fileName = GetFileName(s.source, separator_); });
    g.step(ConvertStep::TakeExtension, [&] { s.extension = lastExtension(s.fileName); });
    g.step(ConvertStep::DropExtension,
           [&] { s.basePath = withoutExtension(s.source, s.extension); });
    g.step(ConvertStep::AddPptExtension, [&] { s.basePath += kResultExtension; });
}

void BatchRun::openDocument(GuardedProcedure& g, FileSlots& s, bool showBusy) {
    if (showBusy)
        g.step(ConvertStep::BusyBeforeOffice, [&] { view_.setMousePointer(MousePointer::Busy); });
    g.step(ConvertStep::ObtainServiceManager,
           [&] { s.serviceManager = bridge_.obtainServiceManager(kServiceManagerName); });
    g.step(ConvertStep::CreateDesktop,
           [&] { s.desktop = bridge_.createInstance(s.serviceManager, kDesktopService); });
    g.step(ConvertStep::LoadDocument, [&] {
        refuseEmptySource(s.source);
        try {
            s.document =
                officecalls::loadHidden(bridge_, s.desktop, fileUrlFromPath(s.source, separator_));
        } catch (const OfficeUnavailableError&) {
            throw;
        } catch (const AppError&) {
            // The office says only that it cannot detect the type of a file that is not there.
            refuseMissingSource(s.source);
            throw;
        }
        if (!s.document) {
            throw OfficeError(QStringLiteral("The office could not open %1; the file may be "
                                             "damaged, password-protected or not a presentation.")
                                  .arg(quoted(s.source)));
        }
    });
    g.step(ConvertStep::CreateDispatchHelper, [&] {
        s.dispatchHelper = bridge_.createInstance(s.serviceManager, kDispatchHelperService);
    });
    g.step(ConvertStep::GetController,
           [&] { s.controller = bridge_.getCurrentController(s.document); });
    g.step(ConvertStep::GetFrame,
           [&] { s.frame = bridge_.getFrame(bridge_.getCurrentController(s.document)); });
}

void BatchRun::refuseMissingSource(const QString& source) {
    if (!files_.state(source).exists) {
        throw AppError(QStringLiteral("%1 is gone: it was moved or deleted after it was listed.")
                           .arg(quoted(source)));
    }
}

void BatchRun::refuseEmptySource(const QString& source) {
    // The office opens an empty file as a new blank presentation and would "convert" it.
    const FileState state = files_.state(source);
    if (state.exists && state.regularFile && state.size == 0) {
        throw AppError(QStringLiteral("The file %1 is empty (0 bytes); there is nothing "
                                      "to convert.")
                           .arg(quoted(source)));
    }
}

void BatchRun::planOutputPath(GuardedProcedure& g, FileSlots& s) {
    const auto inFolder = [&](const QString& folder) {
        return FixBackslashes(folder + separator_ + GetFileName(s.basePath, separator_),
                              separator_);
    };
    if (g.test(ConvertStep::TestIntoFolder, [&] { return view_.outputChoice().intoFolder(); })) {
        g.step(ConvertStep::PlanIntoFolder, [&] {
            const QString folder = view_.outputChoice().folder;
            // A folder emptied while the run handled events would send the result to the root.
            if (folder.isEmpty())
                throw AppError(runtext::kNoFolder);
            s.outputPath = inFolder(folder);
        });
    } else if (g.test(ConvertStep::TestBesideSource,
                      [&] { return view_.outputChoice().besideSource(); })) {
        g.step(ConvertStep::PlanBesideSource,
               [&] { s.outputPath = inFolder(GetFolderPath(s.source, separator_)); });
    }
    g.step(ConvertStep::UseSlashes, [&] { s.outputPath.replace(separator_, kSlash); });
    g.step(ConvertStep::CollapseSlashes,
           [&] { s.outputPath = collapsePairs(s.outputPath, kSlash); });
}

void BatchRun::prepareSave(GuardedProcedure& g, FileSlots& s) {
    g.step(ConvertStep::PrepareUrl, [&] {
        s.targetUrl = fileUrlFromPath(s.outputPath, separator_);
        s.saveProperties[0] = officecalls::targetUrl(bridge_, s.targetUrl);
    });
    g.step(ConvertStep::PrepareFilter,
           [&] { s.saveProperties[1] = officecalls::powerPoint97Filter(bridge_); });
    g.step(ConvertStep::PrepareSelectionOnly,
           [&] { s.saveProperties[2] = officecalls::selectionOnly(bridge_); });
}

void BatchRun::refuseOverwrites(const FileSlots& s) {
    const QString& target = s.outputPath;
    if (files_.sameFile(s.source, target)) {
        throw AppError(QStringLiteral("The output file %1 would replace its own source; the "
                                      "file was not converted and is left as it was.")
                           .arg(quoted(target)));
    }
    if (const std::optional<QString> other = results_.sourceAt(target)) {
        throw AppError(QStringLiteral("%1 was not converted: its result %2 would replace %3, "
                                      "which this run also converts; both are left as they "
                                      "were.")
                           .arg(quoted(s.source), quoted(target), quoted(*other)));
    }
    if (const std::optional<QString> earlier = results_.writtenFrom(target)) {
        throw AppError(QStringLiteral("%1 was not converted: its result %2 would replace the "
                                      "one this run made from %3.")
                           .arg(quoted(s.source), quoted(target), quoted(*earlier)));
    }
}

PropertyList BatchRun::saveProperties(const FileSlots& s) {
    PropertyList save;
    for (const std::optional<PropertyValue>& property : s.saveProperties) {
        // Without all three the office could save somewhere else, or not as PowerPoint 97.
        if (!property) {
            throw AppError(QStringLiteral("The save settings for %1 could not be prepared; "
                                          "nothing was saved.")
                               .arg(quoted(s.source)));
        }
        save.append(*property);
    }
    return save;
}

void BatchRun::saveAndVerify(FileSlots& s) {
    // With neither output option chosen no path was planned; there is no folder to blame.
    if (s.outputPath.isEmpty())
        throw AppError(runtext::kNoOutputChosen.arg(quoted(s.source)));
    refuseOverwrites(s);
    PropertyList save = saveProperties(s);
    try {
        // The office writes into a private folder beside the result; the finished file then
        // takes its name in one step. So the name never holds half a file, and a link there
        // is replaced instead of written through.
        const QString written = saveIntoPrivateFolder(s, save);
        verifyWritten(written, s.outputPath);
        const WriteProblem moved = files_.replace(written, s.outputPath);
        if (moved != WriteProblem::None) {
            throw AppError(
                withCause(QStringLiteral("%1 could not be written.").arg(quoted(s.outputPath)),
                          problemSentence(moved)));
        }
    } catch (...) {
        // A failed save leaves nothing behind, whatever the office got to write.
        s.saveFolder.reset();
        throw;
    }
    results_.record(s.outputPath, s.source);
    s.converted = true;
}

QString BatchRun::saveIntoPrivateFolder(FileSlots& s, PropertyList& save) {
    const QString& target = s.outputPath;
    const QString couldNotSave =
        QStringLiteral("The office could not save %1 as PowerPoint 97.").arg(quoted(target));
    const QString folder = GetFolderPath(target, kSlash);
    const QString name = GetFileName(target, kSlash);
    s.saveFolder = std::make_unique<SaveFolder>(files_, folder);
    if (s.saveFolder->path().isEmpty())
        throw AppError(withCause(couldNotSave, problemSentence(s.saveFolder->problem())));
    const QString written = s.saveFolder->path() + kSlash + name;
    officecalls::retarget(save, fileUrlFromPath(written, separator_));
    const DispatchResult result = officecalls::saveAs(bridge_, s.dispatchHelper, s.frame, save);
    if (result.known && !result.succeeded()) {
        QString cause = problemSentence(files_.diagnose(folder, name, kRoomForASave));
        if (cause.isEmpty())
            cause = notAPresentation(files_.head(s.source, kSourceHeadSize));
        throw OfficeError(withCause(couldNotSave, cause));
    }
    return written;
}

void BatchRun::verifyWritten(const QString& written, const QString& target) {
    // A save cut short by a full disk can look like any of these.
    const auto failed = [&](const QString& message) {
        const WriteProblem problem = files_.diagnose(GetFolderPath(target, kSlash),
                                                     GetFileName(target, kSlash), kRoomForASave);
        return OfficeError(
            withCause(message, problem == WriteProblem::NoSpace ? problemSentence(problem) : ""));
    };
    const FileState state = files_.state(written);
    if (!state.exists || !state.regularFile)
        throw failed(QStringLiteral("The office did not write %1.").arg(quoted(target)));
    if (state.size == 0)
        throw failed(QStringLiteral("The office wrote an empty file %1.").arg(quoted(target)));
    if (!startsLikeCompoundFile(files_.head(written, 8))) {
        throw failed(QStringLiteral("The office wrote %1, but not as a PowerPoint 97 file.")
                         .arg(quoted(target)));
    }
}

}  // namespace slate
