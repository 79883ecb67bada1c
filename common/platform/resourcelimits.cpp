// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/platform/resourcelimits.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

#include <unistd.h>

namespace slate {

namespace {

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    // Files under /proc and /sys report a size of 0 or 4096 whatever they hold: read to the end.
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The value after "Name:" in a "Name: value" file such as proc/self/status.
QString fieldOf(const QByteArray& text, const QByteArray& name) {
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith(name + ':'))
            return QString::fromLatin1(line.mid(name.size() + 1)).trimmed();
    }
    return {};
}

// The folders of this process's cgroup v2 group, from the group itself up to the root of the
// hierarchy it can see.
QStringList groupFolders(const QString& root) {
    QString group;
    for (const QByteArray& line :
         readSmallFile(root + QStringLiteral("/proc/self/cgroup")).split('\n')) {
        // v2 has the one line "0::/path"; v1 controllers have lines of their own, not used here.
        if (line.startsWith("0::"))
            group = QString::fromUtf8(line.mid(3)).trimmed();
    }
    const QString base = root + QStringLiteral("/sys/fs/cgroup");
    QStringList folders;
    if (!group.startsWith(QLatin1Char('/')))
        return folders;
    QStringList parts = group.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (;;) {
        QString folder = base;
        if (!parts.isEmpty())
            folder += QLatin1Char('/') + parts.join(QLatin1Char('/'));
        folders << folder;
        if (parts.isEmpty())
            break;
        parts.removeLast();
    }
    return folders;
}

// A cgroup value in bytes; nothing for "max" or a file that is not there.
std::optional<qint64> bytesValue(const QString& path) {
    const QByteArray text = readSmallFile(path).trimmed();
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

// "QUOTA PERIOD" in microseconds, or "max PERIOD": the CPUs it grants.
std::optional<double> quotaValue(const QString& path) {
    const QList<QByteArray> parts = readSmallFile(path).simplified().split(' ');
    bool quotaOk = false;
    bool periodOk = false;
    const double quota = parts.value(0).toDouble(&quotaOk);
    const double period = parts.value(1).toDouble(&periodOk);
    if (!quotaOk || !periodOk || quota <= 0 || period <= 0)
        return std::nullopt;
    return quota / period;
}

// A CPU list as the kernel writes it ("0-3,8,10-11"): how many CPUs it names; 0 when the text
// is not such a list.
int countCpuList(const QString& text) {
    int count = 0;
    const QStringList ranges = text.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& range : ranges) {
        const QStringList ends = range.split(QLatin1Char('-'));
        bool firstOk = false;
        bool lastOk = false;
        const int first = ends.value(0).toInt(&firstOk);
        const int last = ends.size() == 2 ? ends.at(1).toInt(&lastOk) : first;
        if (!firstOk || (ends.size() == 2 && !lastOk) || ends.size() > 2 || last < first)
            return 0;
        count += last - first + 1;
    }
    return count;
}

}  // namespace

int onlineCpus() {
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

CpuGrant readCpuGrant(const QString& root, int systemCpus) {
    CpuGrant grant;
    grant.systemCpus = std::max(systemCpus, 1);
    grant.cpus = grant.systemCpus;
    const QByteArray status = readSmallFile(root + QStringLiteral("/proc/self/status"));
    const int allowed = countCpuList(fieldOf(status, "Cpus_allowed_list"));
    if (allowed > 0 && allowed < grant.cpus) {
        grant.cpus = allowed;
        grant.limit = CpuGrant::Limit::Affinity;
    }
    std::optional<double> quota;
    for (const QString& folder : groupFolders(root)) {
        if (const std::optional<double> q = quotaValue(folder + QStringLiteral("/cpu.max")))
            quota = quota ? std::min(*quota, *q) : *q;
    }
    if (quota) {
        // A share of a CPU still runs one office, only slower; a fraction above one is not
        // worth another office that would be throttled with the rest.
        const int cpus = std::max(1, static_cast<int>(std::floor(*quota + 1e-9)));
        if (cpus < grant.cpus) {
            grant.cpus = cpus;
            grant.limit = CpuGrant::Limit::Quota;
            grant.quota = *quota;
        }
    }
    return grant;
}

MemoryGrant readMemoryGrant(const QString& root) {
    MemoryGrant grant;
    bool ok = false;
    const qint64 kibibytes =
        fieldOf(readSmallFile(root + QStringLiteral("/proc/meminfo")), "MemAvailable")
            .section(QLatin1Char(' '), 0, 0)
            .toLongLong(&ok);
    if (ok) {
        grant.bytes = kibibytes * 1024;
        grant.limit = MemoryGrant::Limit::Free;
    }
    for (const QString& folder : groupFolders(root)) {
        const std::optional<qint64> max = bytesValue(folder + QStringLiteral("/memory.max"));
        if (!max)
            continue;
        // What the group already uses counts against its limit; the offices get the rest.
        const qint64 used = bytesValue(folder + QStringLiteral("/memory.current")).value_or(0);
        const qint64 left = std::max<qint64>(*max - used, 0);
        if (grant.bytes < 0 || left < grant.bytes) {
            grant.bytes = left;
            grant.limit = MemoryGrant::Limit::Cgroup;
            grant.cgroupMax = *max;
        }
    }
    return grant;
}

}  // namespace slate
