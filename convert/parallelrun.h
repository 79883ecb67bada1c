// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <functional>

#include "common/paths.h"
#include "convert/batchrun.h"
#include "convert/officepool.h"

namespace slate {

class ErrorReporter;
class JobList;
class RunView;

// Begins the line that says an office was left out, followed by the reason.
inline const QString kOfficeLeftOut =
    QStringLiteral("The run goes on without one of its offices: ");

// Converts the files of a BatchRun on several offices at once. Every office has a thread
// that takes the next file in list order and runs that file's steps through a sibling of the
// run, so each file gets the steps, result and reports it would get in the run's own loop.
// Files whose sources or results share a name go one after the other in list order: no two
// offices ever write one target at the same time, and which of them is refused is the one the
// run's own loop refuses. What the caller sees happens on the thread that started the run: the
// run's onFileStarted as a file starts, numbered in the order files start, and when it ends
// its error reports as one block, then onFileFinished.
class ParallelRun {
  public:
    // Becomes `run`'s file loop until destroyed. `view` gives the output options, read once as
    // the loop starts; `offices` names the pool's offices to use and must not be empty.
    ParallelRun(BatchRun& run, JobList& jobs, RunView& view, OfficePool& pool, QList<int> offices,
                ErrorReporter& reporter, QChar separator = kNativeSeparator);
    ~ParallelRun();
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    // As a file ends, just before the run's onFileFinished: how long its steps took and how
    // much of that the office spent (negative when not measured).
    std::function<void(int started, const QString& source, double seconds, double officeSeconds)>
        onFileTimed;
    // A message that concerns no single file, such as an office that had to be left out.
    std::function<void(const QString& text)> onNotice;

  private:
    struct Shared;

    RunSummary runFiles(int count);
    // Takes what the workers tell until the last one ends: the run's total.
    RunSummary collect(Shared& shared, int workers);
    void fileEnded(int number, const QString& source, bool converted, double seconds,
                   double officeSeconds);
    void work(Shared& shared, int worker);

    BatchRun& run_;
    JobList& jobs_;
    RunView& view_;
    OfficePool& pool_;
    QList<int> offices_;
    ErrorReporter& reporter_;
    QChar separator_;
};

}  // namespace slate
