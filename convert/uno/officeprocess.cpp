// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/officeprocess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/programexit.h"
#include "convert/officebridge.h"
#include "convert/uno/unoerrors.h"

namespace slate {

namespace {

// The launcher script hides the real office behind oosplash; soffice.bin beside it is the
// process that has to be ended.
QString officeBinaryFor(const QString& launcher) {
    const QString real = QFileInfo(launcher).canonicalFilePath();
    if (real.isEmpty())
        return launcher;
    const QFileInfo realInfo(real);
    if (realInfo.fileName() == QLatin1String("soffice.bin"))
        return real;
    const QFileInfo beside(realInfo.dir().filePath(QStringLiteral("soffice.bin")));
    if (beside.isFile() && beside.isExecutable())
        return beside.filePath();
    return real;
}

bool isExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// Argument and environment arrays prepared before fork: the child may only make
// async-signal-safe calls.
struct CStrings {
    std::vector<QByteArray> storage;
    std::vector<char*> pointers;
    explicit CStrings(const QStringList& list) {
        for (const QString& s : list)
            storage.push_back(QFile::encodeName(s));
        for (QByteArray& s : storage)
            pointers.push_back(s.data());
        pointers.push_back(nullptr);
    }
};

// The descriptors an office starts with, opened before fork: its log for both outputs,
// /dev/null for input, and a pipe that carries the errno of a failed exec back.
class LaunchFiles {
  public:
    explicit LaunchFiles(const QString& logPath)
        : log(::open(QFile::encodeName(logPath).constData(),
                     O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)),
          devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC)) {
        if (log >= 0 && devNull >= 0 && ::pipe2(execReport, O_CLOEXEC) == 0)
            return;
        const int error = errno;
        closeAll();
        throw OfficeUnavailableError(uno_detail::kCannotStart +
                                     QStringLiteral("cannot open \"%1\" (%2)")
                                         .arg(logPath, QString::fromLocal8Bit(strerror(error))));
    }
    ~LaunchFiles() { closeAll(); }
    LaunchFiles(const LaunchFiles&) = delete;
    LaunchFiles& operator=(const LaunchFiles&) = delete;

    // After fork, the parent keeps only the reading end of the report pipe.
    void closeChildSide() {
        for (int* fd : {&log, &devNull, &execReport[1]})
            closeOne(*fd);
    }
    // The child's errno when its exec failed; 0 once the exec closed the pipe.
    int execError() {
        int error = 0;
        ssize_t got;
        do {
            got = ::read(execReport[0], &error, sizeof error);
        } while (got < 0 && errno == EINTR);
        closeOne(execReport[0]);
        return got == sizeof error ? error : 0;
    }

    int log = -1;
    int devNull = -1;
    int execReport[2] = {-1, -1};

  private:
    static void closeOne(int& fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    void closeAll() {
        closeChildSide();
        closeOne(execReport[0]);
    }
};

// In the child after fork: only async-signal-safe calls from here on.
[[noreturn]] void execOffice(const char* program, const CStrings& argv, const CStrings& envp,
                             const LaunchFiles& files, pid_t parent, long maxFd) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
    // The office gets the signal's usual meaning back.
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(files.devNull, 0);
    ::dup2(files.log, 1);
    ::dup2(files.log, 2);
    for (long fd = 3; fd < maxFd; ++fd)
        if (fd != files.execReport[1])
            ::close(static_cast<int>(fd));
    ::execve(program, argv.pointers.data(), envp.pointers.data());
    const int error = errno;
    [[maybe_unused]] ssize_t written = ::write(files.execReport[1], &error, sizeof error);
    ::_exit(127);
}

}  // namespace

OfficeProcess::OfficeProcess() : keeper_([this] { keeperLoop(); }) {
    // Writing to the pipe of an office that has just ended must fail with EPIPE, which the
    // bridge reports, and not end this program with SIGPIPE, its results already written.
    static std::once_flag ignored;
    std::call_once(ignored, [] { ::signal(SIGPIPE, SIG_IGN); });
}

OfficeProcess::~OfficeProcess() {
    stop(std::chrono::seconds(5));
    {
        std::lock_guard lock(keeperMutex_);
        quit_ = true;
    }
    keeperWake_.notify_all();
    keeper_.join();
}

QString OfficeProcess::findOffice(const QString& configured, QString* why) {
    if (!configured.isEmpty()) {
        if (isExecutableFile(configured))
            return officeBinaryFor(configured);
        if (why) {
            *why = QStringLiteral("the office program \"%1\" is not an executable file")
                       .arg(QDir::toNativeSeparators(configured));
        }
        return {};
    }
    QStringList candidates;
    for (const QString& name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            candidates << found;
    }
    candidates << QStringLiteral("/usr/lib/libreoffice/program/soffice");
    const QDir opt(QStringLiteral("/opt"));
    // Newest version first: the folders carry the version in their names.
    for (const QString& dir :
         opt.entryList({QStringLiteral("libreoffice*"), QStringLiteral("openoffice*")},
                       QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed)) {
        candidates << opt.filePath(dir + QStringLiteral("/program/soffice"));
    }
    for (const QString& candidate : candidates) {
        if (isExecutableFile(candidate))
            return officeBinaryFor(candidate);
    }
    if (why) {
        *why = QStringLiteral(
            "no soffice was found on PATH, in /usr/lib/libreoffice/program or in /opt "
            "(set SLATEMERE_OFFICE to its path)");
    }
    return {};
}

QString OfficeProcess::installedVersion(const QString& officeBinary) {
    QFile settings(
        QFileInfo(officeBinary).dir().filePath(QStringLiteral("../share/registry/main.xcd")));
    if (!settings.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = settings.readAll();
    const qsizetype property = text.indexOf("<prop oor:name=\"ooSetupVersion\">");
    if (property < 0)
        return {};
    const qsizetype start = text.indexOf("<value>", property) + 7;
    const qsizetype end = text.indexOf("</value>", start);
    if (end < 0 || end - start > 20)
        return {};
    return QString::fromUtf8(text.mid(start, end - start)).trimmed();
}

bool OfficeProcess::isClosed() const {
    std::lock_guard lock(processMutex_);
    return closed_;
}

void OfficeProcess::start(const QString& program, const QStringList& arguments,
                          const QStringList& environment, const QString& logPath) {
    if (pid() != 0)
        stop(std::chrono::seconds(2));
    const auto refuseWhenClosed = [this] {
        if (closed_)
            throw OfficeUnavailableError(uno_detail::kCannotStart +
                                         QStringLiteral("the program is ending"));
    };
    {
        std::lock_guard lock(processMutex_);
        refuseWhenClosed();
    }

    CStrings argv(QStringList{program} + arguments);
    CStrings envp(environment);
    const QByteArray programPath = QFile::encodeName(program);
    LaunchFiles files(logPath);
    const pid_t parent = ::getpid();
    const long maxFd = std::min<long>(::sysconf(_SC_OPEN_MAX), 65536);
    pid_t child = -1;
    int forkError = 0;
    runOnKeeper([&] {
        child = ::fork();
        if (child == 0)
            execOffice(programPath.constData(), argv, envp, files, parent, maxFd);
        forkError = errno;
    });
    files.closeChildSide();
    if (child < 0) {
        throw OfficeUnavailableError(uno_detail::kCannotStart +
                                     QString::fromLocal8Bit(strerror(forkError)));
    }
    ::setpgid(child, child);
    const int execError = files.execError();
    std::lock_guard lock(processMutex_);
    pid_ = child;
    exitCode_.reset();
    exitSignal_.reset();
    if (closed_) {
        // Closed while the child was being made: it must not outlive the closing.
        ::kill(-child, SIGKILL);
        ::kill(child, SIGKILL);
        reapLocked(true);
        refuseWhenClosed();
    }
    if (execError != 0) {
        reapLocked(true);
        throw OfficeUnavailableError(
            uno_detail::kCannotStart +
            QStringLiteral("cannot run \"%1\" (%2)")
                .arg(program, QString::fromLocal8Bit(strerror(execError))));
    }
}

qint64 OfficeProcess::pid() const {
    std::lock_guard lock(processMutex_);
    return pid_;
}

bool OfficeProcess::isRunning() {
    std::lock_guard lock(processMutex_);
    reapLocked(false);
    return pid_ != 0;
}

QString OfficeProcess::exitDescription() const {
    std::lock_guard lock(processMutex_);
    if (exitCode_)
        return QStringLiteral("exit code %1").arg(*exitCode_);
    if (exitSignal_)
        return QStringLiteral("signal %1").arg(*exitSignal_);
    return {};
}

void OfficeProcess::reapLocked(bool wait) {
    if (pid_ == 0)
        return;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(static_cast<pid_t>(pid_), &status, wait ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0)
        return;
    if (done == pid_) {
        if (WIFEXITED(status))
            exitCode_ = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            exitSignal_ = WTERMSIG(status);
    }
    // Also when waitpid failed: the child is not ours to wait for any more.
    pid_ = 0;
}

void OfficeProcess::stop(std::chrono::milliseconds grace) {
    std::lock_guard lock(processMutex_);
    reapLocked(false);
    if (pid_ == 0)
        return;
    const auto pid = static_cast<pid_t>(pid_);
    ::kill(-pid, SIGTERM);
    ::kill(-pid, SIGCONT);
    const auto until = std::chrono::steady_clock::now() + grace;
    while (pid_ != 0 && std::chrono::steady_clock::now() < until && !program::hurried()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        reapLocked(false);
    }
    if (pid_ != 0) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        reapLocked(true);
    }
}

void OfficeProcess::close() {
    std::lock_guard lock(processMutex_);
    closed_ = true;
}

void OfficeProcess::kill() {
    std::lock_guard lock(processMutex_);
    if (pid_ != 0) {
        ::kill(-static_cast<pid_t>(pid_), SIGKILL);
        ::kill(static_cast<pid_t>(pid_), SIGKILL);
    }
}

void OfficeProcess::arm(std::chrono::milliseconds timeout, std::function<void()> onExpired) {
    {
        std::lock_guard lock(keeperMutex_);
        deadline_ = std::chrono::steady_clock::now() + timeout;
        onExpired_ = std::move(onExpired);
        fired_ = false;
    }
    keeperWake_.notify_all();
}

bool OfficeProcess::disarm() {
    std::unique_lock lock(keeperMutex_);
    deadline_.reset();
    keeperWake_.wait(lock, [this] { return !expiring_; });
    onExpired_ = nullptr;
    return fired_;
}

void OfficeProcess::runOnKeeper(std::function<void()> task) {
    std::unique_lock lock(keeperMutex_);
    task_ = std::move(task);
    taskDone_ = false;
    keeperWake_.notify_all();
    keeperWake_.wait(lock, [this] { return taskDone_; });
}

void OfficeProcess::keeperLoop() {
    std::unique_lock lock(keeperMutex_);
    while (!quit_) {
        if (task_) {
            auto task = std::move(task_);
            task_ = nullptr;
            task();
            taskDone_ = true;
            keeperWake_.notify_all();
        } else if (deadline_ && std::chrono::steady_clock::now() >= *deadline_) {
            deadline_.reset();
            fired_ = true;
            expiring_ = true;
            auto onExpired = onExpired_;
            lock.unlock();
            if (onExpired)
                onExpired();
            lock.lock();
            expiring_ = false;
            keeperWake_.notify_all();
        } else if (deadline_) {
            keeperWake_.wait_until(lock, *deadline_);
        } else {
            keeperWake_.wait(lock);
        }
    }
}

}  // namespace slate
