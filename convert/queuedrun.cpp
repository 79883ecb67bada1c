// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/queuedrun.h"

#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "common/paths.h"
#include "convert/filequeue.h"
#include "convert/officepool.h"
#include "convert/parallelrun.h"
#include "convert/runview.h"
#include "joblist/joblist.h"

namespace slate {

namespace {

// An office thread's view: the output options of the file it converts, nothing to show.
class ChoiceView : public RunView {
  public:
    void setProgressValue(double) override {}
    void setProgressText(const QString&) override {}
    void setMousePointer(MousePointer) override {}
    void processPendingEvents() override {}
    OutputChoice outputChoice() const override { return choice; }
    OutputChoice choice;
};

}  // namespace

struct QueuedRun::Worker {
    explicit Worker(int office) : office(office) {}
    const int office;
    std::thread thread;
    // Handed over by the starting thread; the worker takes it.
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<File> file;
    bool stop = false;
    // Kept by the starting thread only.
    bool idle = true;
    bool gone = false;
};

QueuedRun::QueuedRun(BatchRun& run, JobList& jobs, RunView& view, OfficePool& pool,
                     std::function<int(int)> officeCount, ErrorReporter& reporter, QChar separator)
    : run_(run),
      jobs_(jobs),
      view_(view),
      pool_(pool),
      officeCount_(std::move(officeCount)),
      reporter_(reporter),
      separator_(separator),
      receiver_(std::make_unique<QObject>()) {
    run_.fileLoop = [this](int count) { return runFiles(count); };
}

QueuedRun::~QueuedRun() {
    run_.fileLoop = nullptr;
    cancelled_ = true;
    stopWorkers();
    if (loop_)
        loop_->quit();
}

RunSummary QueuedRun::runFiles(int count) {
    count_ = count;
    next_ = 1;
    nextToShow_ = 1;
    tally_ = RunSummary{};
    ended_.clear();
    held_.clear();
    handedBack_.clear();
    int offices = std::clamp(officeCount_ ? officeCount_(count) : 1, 1, std::max(count, 1));
    pool_.grow(offices);
    offices = std::min(offices, pool_.size());
    severalOffices_ = offices > 1;
    usableOffices_ = offices;
    for (int office = 0; office < offices; ++office) {
        workers_.push_back(std::make_unique<Worker>(office));
        Worker& worker = *workers_.back();
        worker.thread = std::thread([this, &worker] { work(worker); });
    }
    startNext();
    if (nextToShow_ <= count_ && !cancelled_) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    stopWorkers();
    return tally_;
}

QueuedRun::Worker* QueuedRun::idleWorker() {
    for (const std::unique_ptr<Worker>& worker : workers_) {
        if (worker->idle && !worker->gone)
            return worker.get();
    }
    return nullptr;
}

// Starts the next file when an office is free for it. One file starts at a time: its first
// steps run, then the events that came meanwhile, then the rest of its start.
void QueuedRun::startNext() {
    if (starting_ || cancelled_ || !idleWorker())
        return;
    if (!handedBack_.empty()) {
        File file = std::move(handedBack_.front());
        handedBack_.pop_front();
        handOver(std::move(file));
        return startNext();
    }
    if (next_ > count_)
        return;
    const QStringList names = meetingNames(GetFileName(jobs_.texts().value(next_ - 1), separator_));
    // Such a file waits for the earlier one, so that the earlier one keeps the name.
    if (std::any_of(names.begin(), names.end(),
                    [this](const QString& n) { return held_.contains(n); }))
        return;
    File file;
    file.index = next_++;
    ReportBuffer reports;
    bool rowRead = false;
    file.work = run_.startFile(file.index, count_, reports, rowRead);
    file.reports = std::move(reports.reports);
    if (!rowRead) {
        fileEnded(nullptr, std::move(file));
        return;
    }
    file.names = names;
    for (const QString& name : names)
        held_.insert(name);
    starting_ = true;
    // What the user did meanwhile (a click on "Clear List", a new output folder) is handled
    // first, as it is while each file starts when only one office converts.
    auto pending = std::make_shared<File>(std::move(file));
    post([this, pending] {
        starting_ = false;
        ReportBuffer reports;
        run_.planFile(*pending->work, reports);
        pending->reports += reports.reports;
        pending->choice = view_.outputChoice();
        handOver(std::move(*pending));
        startNext();
    });
}

void QueuedRun::handOver(File file) {
    Worker* worker = idleWorker();
    if (!worker) {
        handedBack_.push_front(std::move(file));
        return;
    }
    worker->idle = false;
    {
        std::lock_guard lock(worker->mutex);
        worker->file = std::move(file);
    }
    worker->changed.notify_one();
}

void QueuedRun::fileEnded(Worker* worker, File file) {
    if (worker)
        worker->idle = true;
    for (const QString& name : file.names)
        held_.remove(name);
    const int index = file.index;
    ended_.insert(index, std::move(file));
    showEnded();
    startNext();
}

void QueuedRun::handedBack(Worker* worker, File file, const QString& why) {
    worker->gone = true;
    if (onNotice)
        onNotice(kOfficeLeftOut + why);
    // The earliest file goes first, so the list order holds.
    const auto at = std::find_if(handedBack_.begin(), handedBack_.end(),
                                 [&](const File& f) { return f.index > file.index; });
    handedBack_.insert(at, std::move(file));
    startNext();
}

// Shows the ended files' reports in list order. A box opened here runs an event loop of its
// own, in which more files end; they are shown by the loop already running, after this one.
void QueuedRun::showEnded() {
    if (showing_)
        return;
    showing_ = true;
    while (!cancelled_ && ended_.contains(nextToShow_)) {
        File file = ended_.take(nextToShow_);
        ReportBuffer::replay(file.reports, reporter_);
        ReportBuffer after;
        const bool converted = run_.endFile(*file.work, file.index, after);
        ReportBuffer::replay(after.reports, reporter_);
        const int reports = static_cast<int>(file.reports.size() + after.reports.size());
        ++tally_.attempted;
        tally_.converted += converted ? 1 : 0;
        tally_.failed += reports > 0 ? 1 : 0;
        tally_.reports += reports;
        ++nextToShow_;
    }
    showing_ = false;
    if (nextToShow_ > count_ && loop_)
        loop_->quit();
}

void QueuedRun::post(std::function<void()> call) {
    QMetaObject::invokeMethod(receiver_.get(), std::move(call), Qt::QueuedConnection);
}

void QueuedRun::work(Worker& worker) {
    ChoiceView view;
    const std::unique_ptr<BatchRun> run = run_.sibling(pool_.bridge(worker.office), view);
    for (;;) {
        File file;
        {
            std::unique_lock lock(worker.mutex);
            worker.changed.wait(lock, [&] { return worker.stop || worker.file; });
            if (worker.stop)
                return;
            file = std::move(*worker.file);
            worker.file.reset();
        }
        // With one office the file's own steps say what is wrong with it, as they always have.
        if (severalOffices_) {
            QString why;
            bool ready = false;
            try {
                ready = pool_.readyForFile(worker.office, &why);
            } catch (...) {
                why = describeException(std::current_exception());
            }
            // An office that cannot be used leaves its files to the others; the last one left
            // converts them anyway, and each file then reports what went wrong.
            if (!ready && usableOffices_.fetch_sub(1) > 1) {
                auto back = std::make_shared<File>(std::move(file));
                post([this, &worker, back, why] { handedBack(&worker, std::move(*back), why); });
                return;
            }
            if (!ready)
                ++usableOffices_;
        }
        view.choice = file.choice;
        ReportBuffer reports;
        run->convertStarted(*file.work, reports);
        pool_.takeOfficeSeconds(worker.office);
        // Once the program ends, what the offices answer is the noise of their ending.
        if (pool_.isEnding())
            return;
        file.reports += reports.reports;
        auto done = std::make_shared<File>(std::move(file));
        post([this, &worker, done] { fileEnded(&worker, std::move(*done)); });
    }
}

void QueuedRun::stopWorkers() {
    for (const std::unique_ptr<Worker>& worker : workers_) {
        {
            std::lock_guard lock(worker->mutex);
            worker->stop = true;
        }
        worker->changed.notify_one();
    }
    for (const std::unique_ptr<Worker>& worker : workers_) {
        if (worker->thread.joinable())
            worker->thread.join();
    }
    workers_.clear();
}

}  // namespace slate
