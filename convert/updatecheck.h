// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace slate {

class FileSystem;

// Whether a run started with --update converts a source, as make and "cp -u" decide: only when
// its result is missing, is not a whole PowerPoint 97 file (a run killed while another
// program copied it, a file of another kind under that name), or is older than the source.
enum class UpdateNeed {
    UpToDate,
    Missing,
    NotPowerPoint,
    Older,
};

UpdateNeed updateNeed(const QString& sourcePath, const QString& resultPath);

// The positions in `sources` that an --update run leaves alone, in list order; `results` holds
// each source's planned result. Only the first source of a result name is asked: a later
// one with that name goes to the run like any second writer of one result, which the run
// refuses whether the first was converted or found up to date.
QList<int> upToDateSources(const QStringList& sources, const QStringList& results,
                           FileSystem& files);

// True when the device holds a whole OLE compound file with a "PowerPoint Document" stream:
// every sector that its allocation table, its directory and that stream name lies inside the
// file, so a file cut short anywhere after its first sectors is not taken for a finished one.
// Reads only those sectors, not the whole file.
bool isCompletePowerPoint97(QIODevice& file);

}  // namespace slate
