#pragma once

#include <QList>

namespace slate::testing {

// Processes named soffice.bin whose parent is this test process, zombies included: an office
// a test leaves behind, or one that ended without being reaped.
QList<qint64> officeChildProcesses();

// Whether the process has ended (gone, or a zombie waiting to be reaped) within `timeoutMs`.
bool waitForProcessEnd(qint64 pid, int timeoutMs);

}  // namespace slate::testing
