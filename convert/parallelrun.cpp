// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/parallelrun.h"

#include <QElapsedTimer>
#include <QHash>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "convert/convertsteps.h"
#include "convert/filequeue.h"
#include "convert/officebridge.h"
#include "convert/reportbuffer.h"
#include "convert/runview.h"
#include "joblist/joblist.h"

namespace slate {

namespace {

using Report = ReportBuffer::Report;

// What a worker tells the thread that started the run.
struct Event {
    enum class Kind { Started, Finished, Notice, WorkerEnded };
    Kind kind = Kind::Notice;
    int index = 0;  // the file's 1-based position in the list
    QString text;   // the file's source, or the notice
    BatchRun::FileOutcome outcome;
    QList<Report> reports;
    double seconds = 0;
    double officeSeconds = -1;
    std::exception_ptr failure;

    static Event of(Kind kind, int index = 0, QString text = {}) {
        Event event;
        event.kind = kind;
        event.index = index;
        event.text = std::move(text);
        return event;
    }
};

class EventQueue {
  public:
    void push(Event event) {
        {
            std::lock_guard lock(mutex_);
            events_.push_back(std::move(event));
        }
        arrived_.notify_one();
    }
    Event pop() {
        std::unique_lock lock(mutex_);
        arrived_.wait(lock, [this] { return !events_.empty(); });
        Event event = std::move(events_.front());
        events_.pop_front();
        return event;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> events_;
};

void count(const BatchRun::FileOutcome& outcome, RunSummary& tally) {
    ++tally.attempted;
    tally.converted += outcome.converted ? 1 : 0;
    tally.failed += outcome.reports > 0 ? 1 : 0;
    tally.reports += outcome.reports;
}

}  // namespace

struct ParallelRun::Shared {
    Shared(int count, QStringList sources, QList<QStringList> names, int workers)
        : count(count), sources(std::move(sources)), files(std::move(names), workers) {}
    const int count;
    const QStringList sources;
    OutputChoice choice;
    FileQueue files;
    EventQueue events;
};

ParallelRun::ParallelRun(BatchRun& run, JobList& jobs, RunView& view, OfficePool& pool,
                         QList<int> offices, ErrorReporter& reporter, QChar separator)
    : run_(run),
      jobs_(jobs),
      view_(view),
      pool_(pool),
      offices_(std::move(offices)),
      reporter_(reporter),
      separator_(separator) {
    run_.fileLoop = [this](int count) { return runFiles(count); };
}

ParallelRun::~ParallelRun() {
    run_.fileLoop = nullptr;
}

RunSummary ParallelRun::runFiles(int count) {
    QStringList sources;
    QList<QStringList> names;
    for (int i = 0; i < count; ++i) {
        sources << jobs_.texts().value(i);
        names << meetingNames(GetFileName(sources.last(), separator_));
    }
    const int workers = std::min<int>(static_cast<int>(offices_.size()), count);
    Shared shared(count, sources, names, workers);
    shared.choice = view_.outputChoice();

    std::vector<std::thread> threads;
    // Whatever ends this function, no worker outlives it.
    struct JoinAll {
        Shared& shared;
        std::vector<std::thread>& threads;
        ~JoinAll() {
            shared.files.cancel();
            for (std::thread& thread : threads) {
                if (thread.joinable())
                    thread.join();
            }
        }
    } joinAll{shared, threads};
    for (int office = 0; office < workers; ++office)
        threads.emplace_back([this, &shared, office] { work(shared, office); });
    return collect(shared, workers);
}

RunSummary ParallelRun::collect(Shared& shared, int workers) {
    RunSummary tally;
    QHash<int, int> startNumbers;
    std::exception_ptr failure;
    for (int working = workers; working > 0;) {
        Event event = shared.events.pop();
        // Once the program ends, the offices' failures are the noise of their ending.
        if (pool_.isEnding() && event.kind != Event::Kind::WorkerEnded)
            continue;
        switch (event.kind) {
            case Event::Kind::WorkerEnded:
                --working;
                break;
            case Event::Kind::Notice:
                if (onNotice)
                    onNotice(event.text);
                break;
            case Event::Kind::Started: {
                const int number = static_cast<int>(startNumbers.size()) + 1;
                startNumbers.insert(event.index, number);
                if (run_.onFileStarted)
                    run_.onFileStarted(number, shared.count, event.text);
                break;
            }
            case Event::Kind::Finished:
                for (const Report& r : event.reports)
                    reporter_.report(r.description, r.location, r.step);
                if (event.failure) {
                    failure = event.failure;
                    shared.files.cancel();
                    break;
                }
                count(event.outcome, tally);
                fileEnded(startNumbers.value(event.index, event.index), event.text,
                          event.outcome.converted, event.seconds, event.officeSeconds);
                break;
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return tally;
}

void ParallelRun::fileEnded(int number, const QString& source, bool converted, double seconds,
                            double officeSeconds) {
    if (onFileTimed)
        onFileTimed(number, source, seconds, officeSeconds);
    if (run_.onFileFinished)
        run_.onFileFinished(number, source, converted);
}

void ParallelRun::work(Shared& shared, int worker) {
    struct Ended {
        EventQueue& events;
        ~Ended() { events.push(Event::of(Event::Kind::WorkerEnded)); }
    } ended{shared.events};
    const int office = offices_.at(worker);
    // A worker has no bar, pointer or events to show.
    FixedRunView view(shared.choice);
    const std::unique_ptr<BatchRun> run = run_.sibling(pool_.bridge(office), view);
    run->onFileStarted = [&shared](int index, int, const QString& source) {
        shared.events.push(Event::of(Event::Kind::Started, index, source));
    };

    for (int position; !pool_.isEnding() && (position = shared.files.take()) >= 0;) {
        Event end = Event::of(Event::Kind::Finished, position + 1, shared.sources.at(position));
        ReportBuffer reports;
        QElapsedTimer clock;
        clock.start();
        try {
            QString why;
            // An office that cannot be started again leaves its files to the others; the last
            // one left converts them anyway, and each file then reports what went wrong.
            if (!pool_.readyForFile(office, &why) && shared.files.handBack(position)) {
                shared.events.push(Event::of(Event::Kind::Notice, 0, kOfficeLeftOut + why));
                return;
            }
            pool_.takeOfficeSeconds(office);
        } catch (...) {
            // The office could not be made ready: the file fails like one whose office is gone.
            shared.events.push(Event::of(Event::Kind::Started, position + 1, end.text));
            reports.report(describeException(std::current_exception()), location::kConvert,
                           static_cast<int>(ConvertStep::ObtainServiceManager));
            end.outcome.reports = 1;
            end.reports = std::move(reports.reports);
            shared.events.push(std::move(end));
            shared.files.finish(position);
            continue;
        }
        try {
            end.outcome = run->convertOne(position + 1, shared.count, reports);
        } catch (...) {
            end.failure = std::current_exception();
        }
        end.officeSeconds = pool_.takeOfficeSeconds(office);
        end.seconds = clock.nsecsElapsed() / 1e9;
        end.reports = std::move(reports.reports);
        shared.events.push(std::move(end));
        shared.files.finish(position);
    }
}

}  // namespace slate
