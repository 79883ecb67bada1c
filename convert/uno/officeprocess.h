// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace slate {

// The office process this program starts, and a keeper thread beside it that starts the
// process and watches calls for a deadline. The child is tied to the keeper thread
// (PR_SET_PDEATHSIG), which lives as long as this object, so an office never outlives the
// program, however the program ends. Every POSIX process call of the bridge lives here.
class OfficeProcess {
  public:
    OfficeProcess();
    // Ends a running office.
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // The program to start: `configured` when given, else soffice on PATH, else the usual
    // install folders. A soffice launcher script is replaced by the soffice.bin beside it,
    // so that the process started is the office itself. Empty, with `why` set, when none.
    static QString findOffice(const QString& configured, QString* why);
    // The version an office installation calls itself (for instance "7.4"), read from its
    // settings beside `officeBinary`; empty text when they cannot be read.
    static QString installedVersion(const QString& officeBinary);

    // Starts `program` in a process group of its own with the given environment ("NAME=value"
    // entries), stdin from /dev/null and stdout/stderr into `logPath`. Ends a previous process
    // first. Throws OfficeUnavailableError when the process cannot be created.
    void start(const QString& program, const QStringList& arguments, const QStringList& environment,
               const QString& logPath);
    // The running process' id; 0 when none.
    qint64 pid() const;
    // Whether the process still runs; reaps it once it has ended.
    bool isRunning();
    // How the last process ended, e.g. "exit code 81" or "signal 9"; empty while it runs.
    QString exitDescription() const;
    std::optional<int> exitCode() const { return exitCode_; }

    // SIGTERM (and SIGCONT, so a stopped office can act on it), up to `grace` for it to end,
    // then SIGKILL; reaps the process. A program in a hurry (a second signal) cuts the grace.
    void stop(std::chrono::milliseconds grace);
    // No process starts any more: start() refuses, and one it was starting meanwhile is ended.
    void close();
    bool isClosed() const;
    // SIGKILL to the process group without waiting; safe from any thread.
    void kill();

    // Runs `onExpired` on the keeper thread unless disarm() comes within `timeout`.
    void arm(std::chrono::milliseconds timeout, std::function<void()> onExpired);
    // Stops the watch, waiting for a running `onExpired` to finish; true when it fired.
    bool disarm();

  private:
    void keeperLoop();
    void runOnKeeper(std::function<void()> task);
    void reapLocked(bool wait);

    mutable std::mutex processMutex_;
    long pid_ = 0;
    bool closed_ = false;
    std::optional<int> exitCode_;
    std::optional<int> exitSignal_;

    std::mutex keeperMutex_;
    std::condition_variable keeperWake_;
    std::function<void()> task_;
    bool taskDone_ = false;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::function<void()> onExpired_;
    bool expiring_ = false;
    bool fired_ = false;
    bool quit_ = false;
    std::thread keeper_;
};

}  // namespace slate
