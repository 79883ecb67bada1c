#include "convert/officepool.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/errorpolicy.h"
#include "convert/officebridge.h"

namespace slate {

QStringList reachOffices(const QList<PoolOffice>& offices) {
    std::vector<QString> problems(offices.size());
    std::vector<std::thread> threads;
    threads.reserve(offices.size());
    // Offices take a second or more to start; started side by side, the wait is one start.
    for (qsizetype i = 0; i < offices.size(); ++i) {
        threads.emplace_back([&, i] {
            try {
                offices.at(i).bridge->obtainServiceManager();
            } catch (...) {
                problems[i] = describeException(std::current_exception());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    return QStringList(problems.begin(), problems.end());
}

void OfficeRecycler::beforeFile() {
    if (every_ > 0 && restart_ && files_ >= every_) {
        restart_();
        ++restarts_;
        files_ = 0;
    }
}

void OfficeRecycler::fileOn(qint64 office) {
    if (office != office_) {
        office_ = office;
        files_ = 0;
    }
    ++files_;
}

OfficeCount officesForMachine(int cores, qint64 availableBytes) {
    const int wanted = std::clamp(cores, 1, kMaxOffices);
    if (availableBytes < 0)
        return {wanted, false};
    const int fit = static_cast<int>(std::min<qint64>(availableBytes / kOfficeMemoryBytes, wanted));
    return {std::max(fit, 1), fit < wanted};
}

int availableCores() {
    return std::max(QThread::idealThreadCount(), 1);
}

qint64 availableMemoryBytes() {
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : info.readAll().split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        const QList<QByteArray> parts = line.simplified().split(' ');
        bool ok = false;
        const qint64 kibibytes = parts.value(1).toLongLong(&ok);
        return ok ? kibibytes * 1024 : -1;
    }
    return -1;
}

}  // namespace slate
