#include "convert/parallelrun.h"

#include <QElapsedTimer>
#include <QHash>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "common/errorpolicy.h"
#include "convert/filequeue.h"
#include "convert/officebridge.h"
#include "convert/runview.h"
#include "joblist/joblist.h"

namespace slate {

namespace {

// The output options as the loop found them; a worker has no bar, pointer or events to show.
class WorkerView : public RunView {
  public:
    explicit WorkerView(OutputChoice choice) : choice_(std::move(choice)) {}
    void setProgressValue(double) override {}
    void setProgressText(const QString&) override {}
    void setMousePointer(MousePointer) override {}
    void processPendingEvents() override {}
    OutputChoice outputChoice() const override { return choice_; }

  private:
    OutputChoice choice_;
};

struct Report {
    QString description;
    QString location;
    int step = 0;
};

// A file's error reports, kept until the file ends.
class ReportBuffer : public ErrorReporter {
  public:
    void report(const QString& description, const QString& location, int step) override {
        reports.append({description, location, step});
    }
    QList<Report> reports;
};

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

// Whether the office can be reached, starting it when it is not running; `why` when not.
bool officeAnswers(const PoolOffice& office, QString* why) {
    try {
        office.bridge->obtainServiceManager();
    } catch (const OfficeUnavailableError& e) {
        *why = e.description();
        return false;
    } catch (...) {
        // Any other failure is the file's steps' to meet and report.
    }
    return true;
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

// What the calling thread gathers from the workers' events.
struct ParallelRun::Gathered {
    RunSummary tally;
    // The number each file was announced with, by its row.
    QHash<int, int> startNumbers;
    std::exception_ptr failure;
};

ParallelRun::ParallelRun(BatchRun& run, JobList& jobs, RunView& view, QList<PoolOffice> offices,
                         ErrorReporter& reporter, QChar separator)
    : run_(run),
      jobs_(jobs),
      view_(view),
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

    Gathered gathered;
    for (int working = workers; working > 0;) {
        if (!takeEvent(shared, gathered, count))
            --working;
    }
    if (gathered.failure)
        std::rethrow_exception(gathered.failure);
    return gathered.tally;
}

bool ParallelRun::takeEvent(Shared& shared, Gathered& gathered, int count) {
    Event event = shared.events.pop();
    switch (event.kind) {
        case Event::Kind::WorkerEnded:
            return false;
        case Event::Kind::Notice:
            if (onNotice)
                onNotice(event.text);
            break;
        case Event::Kind::Started: {
            const int number = static_cast<int>(gathered.startNumbers.size()) + 1;
            gathered.startNumbers.insert(event.index, number);
            if (run_.onFileStarted)
                run_.onFileStarted(number, count, event.text);
            break;
        }
        case Event::Kind::Finished: {
            for (const Report& r : event.reports)
                reporter_.report(r.description, r.location, r.step);
            if (event.failure) {
                gathered.failure = event.failure;
                shared.files.cancel();
                break;
            }
            RunSummary& tally = gathered.tally;
            ++tally.attempted;
            tally.converted += event.outcome.converted ? 1 : 0;
            tally.failed += event.outcome.reports > 0 ? 1 : 0;
            tally.reports += event.outcome.reports;
            const int number = gathered.startNumbers.value(event.index, event.index);
            if (onFileTimed)
                onFileTimed(number, event.text, event.seconds, event.officeSeconds);
            if (run_.onFileFinished)
                run_.onFileFinished(number, event.text, event.outcome.converted);
            break;
        }
    }
    return true;
}

void ParallelRun::work(Shared& shared, int office) {
    struct Ended {
        EventQueue& events;
        ~Ended() { events.push(Event::of(Event::Kind::WorkerEnded)); }
    } ended{shared.events};
    const PoolOffice& pooled = offices_.at(office);
    WorkerView view(shared.choice);
    const std::unique_ptr<BatchRun> run = run_.sibling(*pooled.bridge, view);
    run->onFileStarted = [&shared](int index, int, const QString& source) {
        shared.events.push(Event::of(Event::Kind::Started, index, source));
    };
    OfficeRecycler recycler(pooled.restart, restartAfter);

    for (int position; (position = shared.files.take()) >= 0;) {
        recycler.beforeFile();
        QString why;
        // An office that cannot be started again leaves its files to the others; the last
        // one left converts them anyway, and each file then reports what went wrong.
        if (!officeAnswers(pooled, &why) && shared.files.handBack(position)) {
            shared.events.push(Event::of(Event::Kind::Notice, 0, kOfficeLeftOut + why));
            return;
        }
        Event end = Event::of(Event::Kind::Finished, position + 1, shared.sources.at(position));
        ReportBuffer reports;
        QElapsedTimer clock;
        clock.start();
        if (pooled.takeOfficeSeconds)
            pooled.takeOfficeSeconds();
        try {
            end.outcome = run->convertOne(position + 1, shared.count, reports);
        } catch (...) {
            end.failure = std::current_exception();
        }
        end.seconds = clock.nsecsElapsed() / 1e9;
        if (pooled.takeOfficeSeconds)
            end.officeSeconds = pooled.takeOfficeSeconds();
        end.reports = std::move(reports.reports);
        shared.events.push(std::move(end));
        shared.files.finish(position);
    }
}

}  // namespace slate
