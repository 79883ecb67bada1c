#pragma once

#include <QString>
#include <QStringList>

#include "joblist/addfolder.h"

namespace slate {

class ErrorReporter;
class JobList;

// Where failures of a drop are reported; the drop is not one of the button handlers.
inline const QString kDropLocation =
    QStringLiteral("in Pellory2021/08/31.Form1.ListView1_OLEDragDrop ");

// Adds dropped paths in the order they were dragged: a file as it is, a folder with every file
// of its tree (names starting with "~" and ordinary hidden files left out), whatever the
// extension. Returns the number of entries added.
int AddDroppedPaths(const QStringList& paths, JobList& jobs, ErrorReporter& reporter,
                    const ProcessEvents& processEvents, FileSystem& fs);

}  // namespace slate
