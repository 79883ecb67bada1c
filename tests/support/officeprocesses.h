// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

namespace slate::testing {

// Processes named soffice.bin whose parent is this test process, zombies included: an office
// a test leaves behind, or one that ended without being reaped.
QList<qint64> officeChildProcesses();

// Whether the process has ended (gone, or a zombie waiting to be reaped) within `timeoutMs`.
bool waitForProcessEnd(qint64 pid, int timeoutMs);

// The connection an office listens on, read from its command line ("--accept=...").
QString acceptedConnection(qint64 pid);
// The value of one environment variable of a running process; empty when it has none.
QString environmentValue(qint64 pid, const QByteArray& name);

}  // namespace slate::testing
