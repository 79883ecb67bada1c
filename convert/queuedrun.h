// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "common/paths.h"
#include "convert/batchrun.h"
#include "convert/reportbuffer.h"
#include "convert/runview.h"

class QEventLoop;

namespace slate {

class JobList;
class OfficePool;
class RunView;

// Converts a BatchRun's files on several offices while the thread that started the run goes
// on handling its events: the window's run. That thread decides each file as an office comes
// free (its row, the output options of the moment, its result name) and runs every step that
// touches the list or the view; the offices' threads only run the office steps, through
// siblings of the run, and hand what they did back as queued calls. Files start in list
// order, and one whose source or result shares a name with a file still converting waits for
// it. Each file's reports are shown as one block when it ends, in list order, a later file's
// waiting for the earlier ones; while a box is open the offices go on converting.
//
// The run's loop (start()) returns once every file has ended and been shown; meanwhile a
// nested event loop runs on the starting thread, as under a modal box.
class QueuedRun {
  public:
    // Becomes `run`'s file loop until destroyed. `officeCount` says how many of the pool's
    // offices a run of so many files uses.
    QueuedRun(BatchRun& run, JobList& jobs, RunView& view, OfficePool& pool,
              std::function<int(int files)> officeCount, ErrorReporter& reporter,
              QChar separator = kNativeSeparator);
    // Stops handing out files and waits for the offices' threads, which end after their file.
    ~QueuedRun();
    QueuedRun(const QueuedRun&) = delete;
    QueuedRun& operator=(const QueuedRun&) = delete;

    // A message that concerns no single file, such as an office that had to be left out.
    std::function<void(const QString& text)> onNotice;

  private:
    struct Worker;
    struct File {
        int index = 0;
        BatchRun::FileWork work;
        QStringList names;
        OutputChoice choice;
        QList<ReportBuffer::Report> reports;
    };

    RunSummary runFiles(int count);
    void startNext();
    void handOver(File file);
    void fileEnded(Worker* worker, File file);
    void handedBack(Worker* worker, File file, const QString& why);
    void showEnded();
    void work(Worker& worker);
    void post(std::function<void()> call);
    Worker* idleWorker();
    void stopWorkers();

    BatchRun& run_;
    JobList& jobs_;
    RunView& view_;
    OfficePool& pool_;
    std::function<int(int)> officeCount_;
    ErrorReporter& reporter_;
    QChar separator_;
    // Receives the offices' queued calls on the starting thread; they go with it.
    std::unique_ptr<QObject> receiver_;

    std::vector<std::unique_ptr<Worker>> workers_;
    std::atomic<int> usableOffices_{0};
    bool severalOffices_ = false;
    int count_ = 0;
    int next_ = 1;
    int nextToShow_ = 1;
    bool starting_ = false;
    bool showing_ = false;
    bool cancelled_ = false;
    std::deque<File> handedBack_;
    QHash<int, File> ended_;
    QSet<QString> held_;
    RunSummary tally_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace slate
