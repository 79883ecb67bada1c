// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

#include "common/platform/filesystem.h"

namespace slate {

// The last extension of a file name with its dot: the text from its last ".", unless that dot
// starts the name (".hidden" has none). Empty when there is none.
QString lastExtension(const QString& fileName);

// What a result's name ends with.
inline const QString kResultExtension = QStringLiteral(".ppt");
// The path without the extension that ends it.
QString withoutExtension(const QString& path, const QString& extension);
// Where a source's result is planned: its file name's last extension replaced by ".ppt"
// ("a.odp.odp" gives "a.odp.ppt", "README" gives "README.ppt"). The run's steps build it from
// the same pieces one step at a time; whatever decides which files may meet asks this, so the
// two can never disagree about a name.
QString resultPathFor(const QString& sourcePath, QChar separator);

// No PowerPoint 97 file the office writes is smaller (an empty one-slide deck gives 458,240
// bytes, most of them its thumbnail).
inline constexpr qint64 kSmallestResultBytes = 400 * 1024;
// The room a save needs at the least: the office writes a temporary copy of the file before the
// file itself (a 458,240-byte result failed with 720,896 bytes free). A folder with less room
// could not have taken the result.
inline constexpr qint64 kRoomForASave = 2 * kSmallestResultBytes;

// True when the bytes begin like an OLE compound file, the container of a PowerPoint 97 file.
bool startsLikeCompoundFile(const QByteArray& head);

// Bytes of a source enough for notAPresentation().
inline constexpr int kSourceHeadSize = 128;
// When the start of a source shows an OpenDocument file of another kind (a drawing, a text),
// the sentence that says so; empty otherwise.
QString notAPresentation(const QByteArray& head);

// The sentence that follows a failed save's message when the system knows the cause.
QString problemSentence(WriteProblem problem);

// The results one run has written, so that a later file of the same run never replaces one.
// A target counts as one of them when it is the very file the run wrote (which also catches
// names that differ only in case on a file system that ignores case) and that file still
// stands at the name it was given; a result that another program has since replaced is no
// longer this run's. Safe to use from several threads.
class RunResults {
  public:
    explicit RunResults(FileSystem& files);

    // From now on this registry and `other` are one: what either records, both know. For the
    // runs that convert the files of one list on several offices at once.
    void shareWith(const RunResults& other);

    void clear();
    // The source whose result this run already wrote at `target`, if any.
    std::optional<QString> writtenFrom(const QString& target) const;
    void record(const QString& target, const QString& source);

    // The files this run converts: no result may replace one of them, whichever comes first.
    void noteSources(const QStringList& sources);
    // The source of this run that stands at `target`, if any.
    std::optional<QString> sourceAt(const QString& target) const;

  private:
    struct Written {
        QString path;
        std::optional<FileId> id;
        QString source;
    };
    struct Shared {
        std::mutex mutex;
        QList<Written> written;
        // Each source by what the file system makes of its path.
        QHash<QString, QString> sourcesByIdentity;
    };
    FileSystem& files_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace slate
