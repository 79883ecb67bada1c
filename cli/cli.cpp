// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "cli/cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "cli/cliinputs.h"
#include "cli/console.h"
#include "common/files.h"
#include "common/lines.h"
#include "common/platform/resourcelimits.h"
#include "common/platform/terminationsignals.h"
#include "common/product.h"
#include "convert/batchrun.h"
#include "convert/officebridge.h"
#include "convert/parallelrun.h"
#include "convert/runreport.h"
#include "convert/shards.h"
#include "convert/updatecheck.h"
#include "joblist/joblist.h"

#if SLATE_HAVE_UNO
#include "convert/uno/unooffices.h"
#endif

namespace slate {

namespace {

QString seconds(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

}  // namespace

bool isCommandLineInvocation(int argc, char** argv) {
    if (argc < 2)
        return false;
    const QByteArray first(argv[1]);
    return first == "convert" || first == "help" || first == "-h" || first == "--help" ||
           first == "--version";
}

int officesToStart(const ConvertArguments& arguments, int files, int cores, qint64 availableBytes,
                   QTextStream& err, const QString& coreNote, const QString& memoryNote) {
    if (!arguments.officeConnections.isEmpty())
        return std::clamp<int>(static_cast<int>(arguments.officeConnections.size()), 1, files);
    const int jobs = arguments.jobs.value_or(kDefaultJobs);
    if (jobs != kAutoJobs)
        return std::clamp(jobs, 1, std::max(files, 1));
    const OfficeCount count = officesForRun(files, cores, availableBytes);
    const auto offices = [](int n) {
        return n == 1 ? QStringLiteral("1 office") : QStringLiteral("%1 offices").arg(n);
    };
    if (count.limitedByMemory) {
        const QString within = memoryNote.isEmpty() ? QString() : QLatin1Char(' ') + memoryNote;
        writeLine(err, QStringLiteral("Starting %1, not one for each of the %2 cores: %3 MB of "
                                      "memory is free%4 and an office takes about %5 MB.")
                           .arg(offices(count.offices))
                           .arg(cores)
                           .arg(availableBytes / (1024 * 1024))
                           .arg(within)
                           .arg(kOfficeMemoryBytes / (1024 * 1024)));
    } else if (!coreNote.isEmpty() && count.offices == cores && files > cores) {
        writeLine(err, QStringLiteral("Starting %1, one for each core this process may use: %2.")
                           .arg(offices(count.offices), coreNote));
    }
    return count.offices;
}

namespace {

// Reaches the offices, all at once. Those that cannot do the work are left out, each with a
// line on `err`; none left, the reason goes to `err`. The offices that can.
QList<int> reachOffices(OfficePool& pool, int count, QTextStream& err) {
    const QList<OfficePool::Check> checks = pool.reach(count);
    QList<int> usable;
    for (int i = 0; i < checks.size(); ++i) {
        if (checks.at(i).usable())
            usable << i;
    }
    if (usable.isEmpty() && !checks.isEmpty()) {
        const OfficePool::Check& first = checks.first();
        writeLine(err,
                  first.reached
                      ? first.reason
                      : QStringLiteral("The office could not be reached: %1").arg(first.reason));
        return {};
    }
    for (const OfficePool::Check& check : checks) {
        if (!check.usable())
            writeLine(err, kOfficeLeftOut + check.reason);
    }
    return usable;
}

// officesToStart() with what this machine, its affinity mask and its cgroup grant.
int officesForMachine(const ConvertArguments& arguments, int files, QTextStream& err) {
    const CpuGrant cpus = readCpuGrant(QStringLiteral("/"), onlineCpus());
    const MemoryGrant memory = readMemoryGrant(QStringLiteral("/"));
    return officesToStart(arguments, files, cpus.cpus, memory.bytes, err, coreLimitNote(cpus),
                          memoryLimitNote(memory));
}

void writeSummary(const RunSummary& summary, int upToDate, const InputSkips& skips,
                  const QString& pattern, double seconds, QTextStream& out) {
    QStringList remarks;
    if (summary.failed > 0)
        remarks << QStringLiteral("%1 failed").arg(summary.failed);
    if (upToDate > 0)
        remarks << QStringLiteral("%1 up to date").arg(upToDate);
    remarks << skips.remarks(pattern);
    QString line = QStringLiteral("Converted %1 of %2 files in %3 s")
                       .arg(summary.converted)
                       .arg(summary.attempted)
                       .arg(QString::number(seconds, 'f', 1));
    if (!remarks.isEmpty())
        line += QStringLiteral(" (%1)").arg(remarks.join(QStringLiteral(", ")));
    writeLine(out, line);
}

// Keeps only the files of `shard` in the list. The names the walk could not decode are
// dealt out with the files, so each is reported by one shard only.
void keepShard(JobList& jobs, const QString& folder, Shard shard, InputSkips& skips) {
    QStringList sources = jobs.texts();
    const int files = static_cast<int>(sources.size());
    sources << skips.undecodablePaths;
    QStringList results;
    for (const QString& source : sources)
        results << plannedResultPath(source, folder);
    QStringList kept;
    QStringList keptNames;
    for (int i : sourcesOfShard(sources, results, shard))
        (i < files ? kept : keptNames) << sources.at(i);
    jobs.clear();
    for (const QString& source : kept)
        jobs.append(source);
    skips.undecodable -= static_cast<int>(skips.undecodablePaths.size() - keptNames.size());
    skips.undecodablePaths = keptNames;
}

// Takes the files whose results are up to date out of the list, each with its report line;
// their results still count as taken in the run. How many there were.
int leaveUpToDate(JobList& jobs, const QString& folder, BatchRun& run, RunReport& report,
                  FileSystem& files) {
    const QStringList sources = jobs.texts();
    QStringList results;
    for (const QString& source : sources)
        results << plannedResultPath(source, folder);
    const QList<int> current = upToDateSources(sources, results, files);
    for (int i : current) {
        run.countAsTaken(results.at(i), sources.at(i));
        if (report.isOpen())
            report.write({sources.at(i), results.at(i), FileReport::Status::UpToDate});
    }
    for (auto it = current.crbegin(); it != current.crend(); ++it)
        jobs.removeAt(*it);
    return static_cast<int>(current.size());
}

void reportSkippedNames(const InputSkips& skips, RunReport& report) {
    if (!report.isOpen())
        return;
    for (const QString& name : skips.undecodablePaths)
        report.write({name, {}, FileReport::Status::Skipped, kUndecodableName});
}

}  // namespace

namespace {

// One convert command, phase by phase: its inputs, the files it can settle without an office,
// its offices, then the run and what it says about it.
class ConvertCommand {
  public:
    ConvertCommand(const ConvertArguments& arguments, OfficePool& pool, FileSystem& files,
                   QTextStream& out, QTextStream& err)
        : a_(arguments),
          pool_(pool),
          files_(files),
          err_(err),
          // Standard output given to the report carries nothing else, for the script reading it.
          results_(arguments.reportPath == QLatin1String("-") ? err : out),
          reporter_(err, arguments.verbose),
          intoFolder_(!arguments.outputDir.isEmpty()),
          pattern_(QStringLiteral("*.") + arguments.extension) {
        clock_.start();
    }

    int run() {
        if (const auto exit = gatherInputs())
            return *exit;
        if (pool_.limit() == 0)
            return exitcode::kNoOffice;
        ConsoleRunView view(
            {intoFolder_ ? OutputChoice::Place::IntoFolder : OutputChoice::Place::BesideSource,
             folder_});
        ConsoleDialogs dialogs(results_, err_, {runtext::kDone}, a_.quiet);
        pool_.grow(1);
        BatchRun run(jobs_, view, pool_.bridge(0), dialogs, reporter_, files_);
        if (const auto exit = settleEarly(run))
            return *exit;
        QList<int> offices;
        if (const auto exit = reachTheOffices(offices))
            return *exit;
        pool_.setRestartAfter(a_.restartAfter);
        std::optional<ParallelRun> parallel;
        if (!offices.isEmpty())
            parallel.emplace(run, jobs_, view, pool_, offices, reporter_);
        watch(run, parallel);
        return conclude(run.start());
    }

  private:
    std::optional<int> gatherInputs() {
        if (a_.undecodable.contains(a_.outputDir)) {
            writeProblem(err_, a_.outputDir, kUndecodableName);
            return exitcode::kUsage;
        }
        QString why;
        if (!a_.reportPath.isEmpty() && !report_.open(a_.reportPath, &why)) {
            writeProblem(err_, a_.reportPath, QStringLiteral("cannot write the report: ") + why);
            return exitcode::kUsage;
        }
        if (!addCommandLinePaths(a_, jobs_, reporter_, files_, err_, skips_))
            return exitcode::kUsage;
        folder_ = intoFolder_ ? commandLinePath(a_.outputDir) : QString();
        if (jobs_.count() > 0 && intoFolder_ && !FolderExists(folder_, files_)) {
            // The window's box has the folder in view; a line in a log must name it.
            writeProblem(err_, a_.outputDir, runtext::kNoFolder);
            return exitcode::kUsage;
        }
        if (a_.shard)
            keepShard(jobs_, folder_, *a_.shard, skips_);
        reportSkippedNames(skips_, report_);
        return std::nullopt;
    }

    bool folderMissing() const { return intoFolder_ && !FolderExists(folder_, files_); }

    // A task whose part of the batch is empty or already done has succeeded.
    std::optional<int> settleEarly(BatchRun& run) {
        if (a_.update && !folderMissing())
            upToDate_ = leaveUpToDate(jobs_, folder_, run, report_, files_);
        if (jobs_.count() > 0 || folderMissing() || !(a_.shard || upToDate_ > 0))
            return std::nullopt;
        if (!a_.quiet)
            writeSummary({}, upToDate_, skips_, pattern_, clock_.nsecsElapsed() / 1e9, results_);
        return skips_.missedSome() ? exitcode::kFailures : exitcode::kConverted;
    }

    // Starting an office only to be told there is nothing to do would waste seconds.
    std::optional<int> reachTheOffices(QList<int>& offices) {
        if (jobs_.count() == 0 || folderMissing())
            return std::nullopt;
        const int count = officesForMachine(a_, jobs_.count(), err_);
        offices = reachOffices(pool_, std::min(count, pool_.limit()), err_);
        if (offices.isEmpty())
            return exitcode::kNoOffice;
        return std::nullopt;
    }

    void watch(BatchRun& run, std::optional<ParallelRun>& parallel) {
        if (parallel) {
            parallel->onNotice = [this](const QString& text) { writeLine(err_, text); };
            parallel->onFileTimed = [this](int index, const QString& source, double took,
                                           double officeSeconds) {
                fileSeconds_ = took;
                if (!a_.timings)
                    return;
                writeLine(err_, QStringLiteral("Timing: file %1: %2 s, office %3 s: %4")
                                    .arg(index)
                                    .arg(seconds(took, 3), seconds(officeSeconds, 3), source));
            };
        }
        run.onFileStarted = [this](int index, int count, const QString& source) {
            if (a_.quiet)
                return;
            writeLine(err_, QStringLiteral("%1%2 (%3/%4)")
                                .arg(runtext::kProcessing, shownName(GetFileName(source)))
                                .arg(index)
                                .arg(count));
        };
        run.onFileFinished = [this](int, const QString& source, bool converted) {
            const QString failure = reporter_.fileFinished(source);
            if (!report_.isOpen())
                return;
            report_.write({source, plannedResultPath(source, folder_),
                           converted ? FileReport::Status::Converted : FileReport::Status::Failed,
                           failure, fileSeconds_});
        };
    }

    int conclude(const RunSummary& summary) {
        const QStringList remarks = skips_.remarks(pattern_);
        if (summary.outcome == RunSummary::Outcome::NoFiles && !remarks.isEmpty()) {
            writeProblem(
                err_, QString(),
                QStringLiteral("nothing to convert: ") + remarks.join(QStringLiteral(", ")));
        }
        if (summary.outcome != RunSummary::Outcome::Completed)
            return exitcode::kUsage;
        if (!a_.quiet)
            writeSummary(summary, upToDate_, skips_, pattern_, clock_.nsecsElapsed() / 1e9,
                         results_);
        const bool allConverted = summary.converted == summary.attempted &&
                                  reporter_.count() == 0 && !skips_.missedSome();
        return allConverted ? exitcode::kConverted : exitcode::kFailures;
    }

    const ConvertArguments& a_;
    OfficePool& pool_;
    FileSystem& files_;
    QTextStream& err_;
    QTextStream& results_;
    ConsoleErrorReporter reporter_;
    const bool intoFolder_;
    const QString pattern_;
    QElapsedTimer clock_;
    RunReport report_;
    JobList jobs_;
    InputSkips skips_;
    QString folder_;
    int upToDate_ = 0;
    double fileSeconds_ = 0;
};

}  // namespace

int runConvert(const ConvertArguments& arguments, OfficePool& pool, FileSystem& files,
               QTextStream& out, QTextStream& err) {
    return ConvertCommand(arguments, pool, files, out, err).run();
}

// The convert command on the offices the options and the environment name.
int convertOnOffices(const ConvertArguments& parsed, const QString& program, QTextStream& out,
                     QTextStream& err) {
#if SLATE_HAVE_UNO
    Q_UNUSED(program);
    OfficeOptions options = OfficeOptions::fromEnvironment();
    if (parsed.timeoutSeconds > 0)
        options.limitWaitsTo(parsed.timeoutSeconds);
    const bool startsOffices = parsed.officeConnections.isEmpty() && options.connectUrl.isEmpty();
    if (const ProfileFolder profiles = defaultProfileFolder();
        startsOffices && profiles.temporary) {
        writeLine(err, QStringLiteral("No usable home or cache folder: the office profiles are "
                                      "kept in %1.")
                           .arg(shownName(profiles.path)));
    }
    ConvertArguments convert = parsed;
    if (convert.officeConnections.isEmpty() && !options.connectUrl.isEmpty()) {
        convert.officeConnections << options.connectUrl;
        if (convert.jobs) {
            writeLine(err, QStringLiteral("SLATEMERE_OFFICE_URL names a running office, so "
                                          "--jobs starts none."));
        }
    }
    OfficePool pool(unoOffices(options, convert.officeConnections),
                    unoOfficeLimit(convert.officeConnections));
    return runConvert(convert, pool, nativeFileSystem(), out, err);
#else
    Q_UNUSED(parsed);
    Q_UNUSED(out);
    writeLine(err, QStringLiteral("This build of %1 has no office bridge.").arg(program));
    return exitcode::kNoOffice;
#endif
}

int runCommandLine(int argc, char** argv) {
    std::optional<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();

    QStringList undecodable;
    const QStringList arguments = decodeArguments(argc, argv, &undecodable);
    ParsedCommandLine parsed = parseCommandLine(arguments);
    parsed.convert.undecodable = undecodable;
    switch (parsed.kind) {
        case ParsedCommandLine::Kind::Help:
            out << commandLineHelp(program);
            out.flush();
            return exitcode::kShown;
        case ParsedCommandLine::Kind::Version:
            writeLine(out, product::kName + QLatin1Char(' ') + product::kVersion);
            return exitcode::kShown;
        case ParsedCommandLine::Kind::UsageError:
            writeLine(err, QStringLiteral("%1: %2").arg(program, parsed.error));
            writeLine(err, QStringLiteral("Try \"%1 --help\".").arg(program));
            return exitcode::kUsage;
        case ParsedCommandLine::Kind::Convert:
            break;
    }

    installTerminationHandlers();
    return convertOnOffices(parsed.convert, program, out, err);
}

}  // namespace slate
