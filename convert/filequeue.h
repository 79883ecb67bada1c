// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace slate {

// The names through which two files of a run can meet: the source's own and its result's,
// without case, as a file system may ignore it. Only files that share one can touch the same
// file, whatever folders they come from or go to.
QStringList meetingNames(const QString& sourceFileName);

// Hands out the files of a run to the offices in list order. A file waits while an earlier one
// that shares a name with it has not ended, so such files run one after the other in list
// order. Safe to use from several threads.
class FileQueue {
  public:
    // `names`: each file's meeting names, in list order; `workers`: the threads taking files.
    FileQueue(QList<QStringList> names, int workers);

    // The next file (0-based position) to convert, waiting while none can start; -1 once every
    // file has ended.
    int take();
    void finish(int position);
    // The worker that took the file leaves and the file goes to another; false, with nothing
    // changed, when no other worker is left to take it.
    bool handBack(int position);
    // No file is handed out any more.
    void cancel();

  private:
    void release(int position);

    const QList<QStringList> names_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> pending_;
    QSet<QString> held_;
    int running_ = 0;
    int workers_;
    bool cancelled_ = false;
};

}  // namespace slate
