#include "app/clioffices.h"

#include <thread>

#include "app/console.h"
#include "convert/parallelrun.h"

#if SLATE_HAVE_UNO
#include "convert/uno/unobridge.h"
#endif

namespace slate {

int officesToStart(const ConvertArguments& arguments, int cores, qint64 availableBytes,
                   QTextStream& err) {
    const int jobs = arguments.jobs.value_or(kDefaultJobs);
    if (jobs != kAutoJobs)
        return jobs;
    const OfficeCount count = officesForMachine(cores, availableBytes);
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

bool reachOfficesOrSay(QList<PoolOffice>& offices, QTextStream& err) {
    const QStringList problems = reachOffices(offices);
    if (!problems.contains(QString())) {
        writeLine(err, QStringLiteral("The office could not be reached: %1").arg(problems.first()));
        return false;
    }
    for (qsizetype i = problems.size() - 1; i >= 0; --i) {
        if (problems.at(i).isEmpty())
            continue;
        writeLine(err, kOfficeLeftOut + problems.at(i));
        offices.removeAt(i);
    }
    return true;
}

MeasuredOffices::MeasuredOffices(const QList<PoolOffice>& offices) {
    for (const PoolOffice& office : offices) {
        TimingBridge& timing = timings_.emplace_back(*office.bridge);
        pool_.append(PoolOffice(
            &timing, office.restart,
            [&timing] {
                const double seconds = timing.officeSeconds();
                timing.resetOfficeTime();
                return seconds;
            },
            office.officeId));
    }
}

#if SLATE_HAVE_UNO

CommandLineOffices::CommandLineOffices(const ConvertArguments& arguments,
                                       const OfficeOptions& options, QTextStream& err) {
    QStringList connections = arguments.officeConnections;
    if (connections.isEmpty() && !options.connectUrl.isEmpty()) {
        connections << options.connectUrl;
        if (arguments.jobs) {
            writeLine(err, QStringLiteral("SLATEMERE_OFFICE_URL names a running office, so "
                                          "--jobs starts none."));
        }
    }
    OfficeOptions each = options;
    for (const QString& connection : connections) {
        each.connectUrl = connection;
        bridges_.push_back(std::make_unique<UnoBridge>(each));
        pool_.append(PoolOffice(bridges_.back().get()));
    }
    if (!connections.isEmpty())
        return;
    const int count = officesToStart(arguments, availableCores(), availableMemoryBytes(), err);
    for (int i = 0; i < count; ++i) {
        UnoBridge& bridge = *bridges_.emplace_back(std::make_unique<UnoBridge>(options));
        pool_.append(PoolOffice(
            &bridge, [&bridge] { bridge.shutdown(); }, {},
            [&bridge] { return bridge.officeProcessId(); }));
    }
}

CommandLineOffices::~CommandLineOffices() {
    shutdown();
}

void CommandLineOffices::shutdown() {
    std::vector<std::thread> threads;
    for (const std::unique_ptr<UnoBridge>& bridge : bridges_)
        threads.emplace_back([&bridge] { bridge->shutdown(); });
    for (std::thread& thread : threads)
        thread.join();
}

#endif

}  // namespace slate
