#include "app/cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "app/cliinputs.h"
#include "app/console.h"
#include "common/files.h"
#include "common/platform/terminationsignals.h"
#include "common/product.h"
#include "convert/batchrun.h"
#include "convert/officebridge.h"
#include "convert/parallelrun.h"
#include "joblist/joblist.h"

#if SLATE_HAVE_UNO
#include "convert/uno/unooffices.h"
#endif

namespace slate {

namespace {

QString absolute(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

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
                   QTextStream& err) {
    if (!arguments.officeConnections.isEmpty())
        return std::clamp<int>(static_cast<int>(arguments.officeConnections.size()), 1, files);
    const int jobs = arguments.jobs.value_or(kDefaultJobs);
    if (jobs != kAutoJobs)
        return std::clamp(jobs, 1, std::max(files, 1));
    const OfficeCount count = officesForRun(files, cores, availableBytes);
    if (count.limitedByMemory) {
        writeLine(err,
                  QStringLiteral("Starting %1, not one for each of the %2 cores: %3 MB of "
                                 "memory is free and an office takes about %4 MB.")
                      .arg(count.offices == 1 ? QStringLiteral("1 office")
                                              : QStringLiteral("%1 offices").arg(count.offices))
                      .arg(cores)
                      .arg(availableBytes / (1024 * 1024))
                      .arg(kOfficeMemoryBytes / (1024 * 1024)));
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

void writeSummary(const RunSummary& summary, const InputSkips& skips, const QString& pattern,
                  double seconds, QTextStream& out) {
    QStringList remarks;
    if (summary.failed > 0)
        remarks << QStringLiteral("%1 failed").arg(summary.failed);
    remarks << skips.remarks(pattern);
    QString line = QStringLiteral("Converted %1 of %2 files in %3 s")
                       .arg(summary.converted)
                       .arg(summary.attempted)
                       .arg(QString::number(seconds, 'f', 1));
    if (!remarks.isEmpty())
        line += QStringLiteral(" (%1)").arg(remarks.join(QStringLiteral(", ")));
    writeLine(out, line);
}

}  // namespace

int runConvert(const ConvertArguments& arguments, OfficePool& pool, FileSystem& files,
               QTextStream& out, QTextStream& err) {
    QElapsedTimer clock;
    clock.start();
    if (arguments.undecodable.contains(arguments.outputDir)) {
        writeProblem(err, arguments.outputDir, kUndecodableName);
        return exitcode::kUsage;
    }
    ConsoleErrorReporter reporter(err, arguments.verbose);
    JobList jobs;
    InputSkips skips;
    if (!addCommandLinePaths(arguments, jobs, reporter, files, err, skips))
        return exitcode::kUsage;

    const bool intoFolder = !arguments.outputDir.isEmpty();
    const QString folder = intoFolder ? absolute(arguments.outputDir) : QString();
    if (jobs.count() > 0 && intoFolder && !FolderExists(folder, files)) {
        // The window's box has the folder in view; a line in a log must name it.
        writeProblem(err, arguments.outputDir, runtext::kNoFolder);
        return exitcode::kUsage;
    }
    if (pool.limit() == 0)
        return exitcode::kNoOffice;
    QList<int> offices;
    // Starting an office only to be told there is nothing to do would waste seconds.
    if (jobs.count() > 0 && (!intoFolder || FolderExists(folder, files))) {
        const int count =
            officesToStart(arguments, jobs.count(), availableCores(), availableMemoryBytes(), err);
        offices = reachOffices(pool, std::min(count, pool.limit()), err);
        if (offices.isEmpty())
            return exitcode::kNoOffice;
    }
    pool.setRestartAfter(arguments.restartAfter);
    pool.grow(1);

    ConsoleRunView view(
        {intoFolder ? OutputChoice::Place::IntoFolder : OutputChoice::Place::BesideSource, folder});
    ConsoleDialogs dialogs(out, err, {runtext::kDone}, arguments.quiet);
    BatchRun run(jobs, view, pool.bridge(offices.value(0)), dialogs, reporter, files);
    std::optional<ParallelRun> parallel;
    if (!offices.isEmpty()) {
        parallel.emplace(run, jobs, view, pool, offices, reporter);
        parallel->onNotice = [&](const QString& text) { writeLine(err, text); };
        if (arguments.timings) {
            parallel->onFileTimed = [&](int index, const QString& source, double fileSeconds,
                                        double officeSeconds) {
                writeLine(err,
                          QStringLiteral("Timing: file %1: %2 s, office %3 s: %4")
                              .arg(index)
                              .arg(seconds(fileSeconds, 3), seconds(officeSeconds, 3), source));
            };
        }
    }
    run.onFileStarted = [&](int index, int count, const QString& source) {
        if (!arguments.quiet) {
            writeLine(err, QStringLiteral("%1%2 (%3/%4)")
                               .arg(runtext::kProcessing, shownName(GetFileName(source)))
                               .arg(index)
                               .arg(count));
        }
    };
    run.onFileFinished = [&](int, const QString& source, bool) { reporter.fileFinished(source); };

    const RunSummary summary = run.start();
    const QString pattern = QStringLiteral("*.") + arguments.extension;
    if (summary.outcome == RunSummary::Outcome::NoFiles && !skips.remarks(pattern).isEmpty()) {
        writeProblem(err, QString(),
                     QStringLiteral("nothing to convert: ") +
                         skips.remarks(pattern).join(QStringLiteral(", ")));
    }
    if (summary.outcome != RunSummary::Outcome::Completed)
        return exitcode::kUsage;
    if (!arguments.quiet) {
        writeSummary(summary, skips, pattern, clock.nsecsElapsed() / 1e9, out);
    }
    const bool allConverted =
        summary.converted == summary.attempted && reporter.count() == 0 && !skips.missedSome();
    return allConverted ? exitcode::kConverted : exitcode::kFailures;
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
            return exitcode::kConverted;
        case ParsedCommandLine::Kind::Version:
            writeLine(out, product::kName + QLatin1Char(' ') + product::kVersion);
            return exitcode::kConverted;
        case ParsedCommandLine::Kind::UsageError:
            writeLine(err, QStringLiteral("%1: %2").arg(program, parsed.error));
            writeLine(err, QStringLiteral("Try \"%1 --help\".").arg(program));
            return exitcode::kUsage;
        case ParsedCommandLine::Kind::Convert:
            break;
    }

    installTerminationHandlers();
#if SLATE_HAVE_UNO
    OfficeOptions options = OfficeOptions::fromEnvironment();
    if (parsed.convert.timeoutSeconds > 0)
        options.limitWaitsTo(parsed.convert.timeoutSeconds);
    const bool startsOffices =
        parsed.convert.officeConnections.isEmpty() && options.connectUrl.isEmpty();
    if (const ProfileFolder profiles = defaultProfileFolder();
        startsOffices && profiles.temporary) {
        writeLine(err, QStringLiteral("No usable home or cache folder: the office profiles are "
                                      "kept in %1.")
                           .arg(shownName(profiles.path)));
    }
    ConvertArguments convert = parsed.convert;
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
    writeLine(err, QStringLiteral("This build of %1 has no office bridge.").arg(program));
    return exitcode::kNoOffice;
#endif
}

}  // namespace slate
