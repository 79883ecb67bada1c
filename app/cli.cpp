#include "app/cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "app/cliinputs.h"
#include "app/clioffices.h"
#include "app/clisignals.h"
#include "app/console.h"
#include "common/files.h"
#include "common/product.h"
#include "convert/batchrun.h"
#include "convert/officebridge.h"
#include "convert/parallelrun.h"
#include "convert/timingbridge.h"
#include "joblist/joblist.h"

#if SLATE_HAVE_UNO
#include "convert/uno/unobridge.h"
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

int runConvert(const ConvertArguments& arguments, OfficeBridge& bridge, FileSystem& files,
               QTextStream& out, QTextStream& err) {
    return runConvert(arguments, {PoolOffice(&bridge)}, files, out, err);
}

int runConvert(const ConvertArguments& arguments, QList<PoolOffice> offices, FileSystem& files,
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
    if (offices.isEmpty())
        return exitcode::kNoOffice;
    // No more offices than files.
    offices = offices.mid(0, std::clamp<qsizetype>(jobs.count(), 1, offices.size()));
    // Starting an office only to be told there is nothing to do would waste seconds.
    if (jobs.count() > 0 && (!intoFolder || FolderExists(folder, files))) {
        if (!reachOfficesOrSay(offices, err))
            return exitcode::kNoOffice;
    }
    const bool shared = offices.size() > 1;

    ConsoleRunView view(
        {intoFolder ? OutputChoice::Place::IntoFolder : OutputChoice::Place::BesideSource, folder});
    ConsoleDialogs dialogs(out, err, {runtext::kDone}, arguments.quiet);
    TimingBridge timing(*offices.first().bridge);
    BatchRun run(jobs, view, timing, dialogs, reporter, files);
    const auto writeTiming = [&](int index, const QString& source, double fileSeconds,
                                 double officeSeconds) {
        writeLine(err, QStringLiteral("Timing: file %1: %2 s, office %3 s: %4")
                           .arg(index)
                           .arg(seconds(fileSeconds, 3), seconds(officeSeconds, 3), source));
    };
    std::optional<MeasuredOffices> measured;
    std::optional<ParallelRun> parallel;
    if (shared) {
        measured.emplace(offices);
        parallel.emplace(run, jobs, view, measured->pool(), reporter);
        parallel->restartAfter = arguments.restartAfter;
        parallel->onNotice = [&](const QString& text) { writeLine(err, text); };
        if (arguments.timings)
            parallel->onFileTimed = writeTiming;
    }
    OfficeRecycler recycler(shared ? nullptr : offices.first().restart, arguments.restartAfter);
    QElapsedTimer fileClock;
    run.onFileStarted = [&](int index, int count, const QString& source) {
        recycler.beforeFile();
        const PoolOffice& office = offices.first();
        recycler.fileOn(office.officeId ? office.officeId() : 0);
        if (!arguments.quiet) {
            writeLine(err, QStringLiteral("%1%2 (%3/%4)")
                               .arg(runtext::kProcessing, GetFileName(source))
                               .arg(index)
                               .arg(count));
        }
        if (!shared) {
            timing.resetOfficeTime();
            fileClock.start();
        }
    };
    run.onFileFinished = [&](int index, const QString& source, bool) {
        reporter.fileFinished(source);
        if (arguments.timings && fileClock.isValid())
            writeTiming(index, source, fileClock.nsecsElapsed() / 1e9, timing.officeSeconds());
        fileClock.invalidate();
    };

    const RunSummary summary = run.start();
    switch (summary.outcome) {
        case RunSummary::Outcome::NoFiles:
        case RunSummary::Outcome::NoFolder:
        case RunSummary::Outcome::Ignored:
            return exitcode::kUsage;
        case RunSummary::Outcome::Completed:
            break;
    }
    if (!arguments.quiet) {
        QStringList remarks;
        if (summary.failed > 0)
            remarks << QStringLiteral("%1 failed").arg(summary.failed);
        remarks << skips.remarks(QStringLiteral("*.") + arguments.extension);
        QString line = QStringLiteral("Converted %1 of %2 files in %3 s")
                           .arg(summary.converted)
                           .arg(summary.attempted)
                           .arg(seconds(clock.nsecsElapsed() / 1e9, 1));
        if (!remarks.isEmpty())
            line += QStringLiteral(" (%1)").arg(remarks.join(QStringLiteral(", ")));
        writeLine(out, line);
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
        options.callTimeoutSeconds = parsed.convert.timeoutSeconds;
    CommandLineOffices offices(parsed.convert, options, err);
    const int status = runConvert(parsed.convert, offices.pool(), nativeFileSystem(), out, err);
    offices.shutdown();
    return status;
#else
    writeLine(err, QStringLiteral("This build of %1 has no office bridge.").arg(program));
    return exitcode::kNoOffice;
#endif
}

}  // namespace slate
