// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "support/officeprocesses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <optional>

namespace slate::testing {

namespace {

struct ProcessStat {
    QByteArray name;
    char state = '?';
    qint64 parent = 0;
};

// /proc/<pid>/stat is "pid (name) state ppid ...", and the name may hold spaces and brackets.
std::optional<ProcessStat> readStat(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    const int open = line.indexOf('(');
    const int close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    const QList<QByteArray> rest = line.mid(close + 2).split(' ');
    if (rest.size() < 2)
        return std::nullopt;
    return ProcessStat{line.mid(open + 1, close - open - 1),
                       rest[0].isEmpty() ? '?' : rest[0].at(0), rest[1].toLongLong()};
}

}  // namespace

QList<qint64> officeChildProcesses() {
    QList<qint64> found;
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString& entry :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        const std::optional<ProcessStat> stat = readStat(pid);
        if (stat && stat->name == "soffice.bin" && stat->parent == self)
            found << pid;
    }
    return found;
}

bool waitForProcessEnd(qint64 pid, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const std::optional<ProcessStat> stat = readStat(pid);
        if (!stat || stat->state == 'Z' || stat->state == 'X')
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
}

QString acceptedConnection(qint64 pid) {
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& argument : cmdline.readAll().split('\0')) {
        if (argument.startsWith("--accept="))
            return QString::fromUtf8(argument.mid(9));
    }
    return {};
}

QString environmentValue(qint64 pid, const QByteArray& name) {
    QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
    if (!environ.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& entry : environ.readAll().split('\0')) {
        if (entry.startsWith(name + '='))
            return QString::fromLocal8Bit(entry.mid(name.size() + 1));
    }
    return {};
}

}  // namespace slate::testing
