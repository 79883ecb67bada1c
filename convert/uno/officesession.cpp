// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/officesession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QUrl>

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <cppuhelper/implbase1.hxx>

#include <atomic>
#include <mutex>

#include "convert/officebridge.h"
#include "convert/uno/unoerrors.h"
#include "convert/uno/unoruntime.h"
#include "convert/uno/unovalues.h"

namespace slate::uno_detail {

using namespace std::chrono_literals;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

const QString kOfficeObject = QStringLiteral("StarOffice.ComponentContext");
constexpr int kConnectAttempts = 3;
// How long an office is given to end on SIGTERM before it is killed: between runs it may
// take its time; when the program ends, or an office that lost its connection is replaced,
// the user is waiting.
constexpr auto kOrderlyStop = 5s;
constexpr auto kQuickStop = 2s;
// Numbers every office this program starts, so that offices running side by side, each of
// its own session, never listen on the same pipe name.
std::atomic<int> officeStarts{0};

QString lastLogLine(const QString& logPath) {
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    return QString::fromLocal8Bit(lines.last().trimmed()).left(200);
}

// Why an office that was asked something is given up on.
QString noAnswerWithin(int seconds) {
    return QStringLiteral("it did not answer within %1 seconds").arg(seconds);
}

std::chrono::milliseconds remainingUntil(std::chrono::steady_clock::time_point deadline) {
    return std::max(std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now()),
                    1ms);
}

}  // namespace

// Learns when the bridge goes down, whichever side ended it.
class BridgeWatcher : public cppu::WeakImplHelper1<css::lang::XEventListener> {
  public:
    void SAL_CALL disposing(const css::lang::EventObject&) override { disposed_ = true; }
    bool disposed() const { return disposed_; }

  private:
    std::atomic<bool> disposed_{false};
};

OfficeSession::OfficeSession(OfficeOptions options) : options_(std::move(options)) {}

OfficeSession::~OfficeSession() {
    shutdown();
}

OfficeSession::Root OfficeSession::root() {
    if (connectionAlive())
        return root_;
    dropConnection();
    if (options_.connectUrl.isEmpty()) {
        startOffice();
        return root_;
    }
    connectToRunningOffice();
    return root_;
}

void OfficeSession::connectToRunningOffice() {
    QString url = options_.connectUrl.trimmed();
    if (url.startsWith(QLatin1String("uno:"), Qt::CaseInsensitive))
        url = url.mid(4);
    const QStringList parts = url.split(QLatin1Char(';'));
    const QString protocol = parts.value(1).trimmed();
    const QString object = parts.value(2).trimmed();
    // Called while a failure is being handled, whose description it gives.
    const auto unreachable = [this] {
        return OfficeUnavailableError(
            QStringLiteral("LibreOffice could not be reached at \"%1\": %2")
                .arg(options_.connectUrl, caughtExceptionDescription()));
    };
    for (int attempt = 1;; ++attempt) {
        try {
            withDeadline(
                std::chrono::seconds(options_.callTimeoutSeconds),
                [&] {
                    connect(parts.value(0).trimmed(),
                            protocol.isEmpty() ? QStringLiteral("urp") : protocol,
                            object.isEmpty() ? kOfficeObject : object);
                },
                noAnswerWithin(options_.callTimeoutSeconds));
            return;
        } catch (const css::lang::DisposedException&) {
            // The office now and then drops a connection it has just accepted; a second
            // attempt gets through.
            dropConnection();
            if (attempt < kConnectAttempts)
                continue;
            throw unreachable();
        } catch (...) {
            dropConnection();
            throw unreachable();
        }
    }
}

void OfficeSession::call(const std::function<void()>& body) {
    withDeadline(
        std::chrono::seconds(options_.callTimeoutSeconds),
        [&] {
            try {
                body();
            } catch (...) {
                rethrowAsOfficeError();
            }
        },
        QStringLiteral("LibreOffice did not answer within %1 seconds")
            .arg(options_.callTimeoutSeconds));
}

void OfficeSession::withDeadline(std::chrono::milliseconds limit, const std::function<void()>& body,
                                 const QString& timeoutMessage) {
    if (limit <= 0ms) {
        body();
        return;
    }
    // Killing our own office ends every call into it; an office we only connected to is cut
    // off by closing the connection, which ends the pending call just the same.
    process_.arm(limit, [this] {
        process_.kill();
        Reference<css::connection::XConnection> connection;
        {
            std::lock_guard lock(connectionMutex_);
            connection = connection_;
        }
        if (connection.is()) {
            try {
                connection->close();
            } catch (...) {
            }
        }
    });
    try {
        body();
    } catch (...) {
        if (process_.disarm())
            throw OfficeError(timeoutMessage);
        throw;
    }
    if (process_.disarm())
        throw OfficeError(timeoutMessage);
}

bool OfficeSession::connectionAlive() {
    if (!bridge_.is() || watcher_->disposed())
        return false;
    return !options_.connectUrl.isEmpty() || process_.isRunning();
}

void OfficeSession::dropConnection() {
    Reference<css::connection::XConnection> connection;
    {
        std::lock_guard lock(connectionMutex_);
        connection = connection_;
        connection_.clear();
    }
    const Reference<css::lang::XComponent> bridge = bridge_;
    bridge_.clear();
    root_ = {};
    watcher_.clear();
    // Closing first means disposing cannot wait on an office that no longer reads.
    try {
        if (connection.is())
            connection->close();
        if (bridge.is())
            bridge->dispose();
    } catch (...) {
    }
}

void OfficeSession::connect(const QString& connection, const QString& protocol,
                            const QString& object) {
    const Reference<css::uno::XComponentContext> local = localUnoContext();
    const Reference<css::connection::XConnection> opened =
        css::connection::Connector::create(local)->connect(toOUString(connection));
    {
        std::lock_guard lock(connectionMutex_);
        connection_ = opened;
    }
    const Reference<css::bridge::XBridge> bridge =
        css::bridge::BridgeFactory::create(local)->createBridge(rtl::OUString(),
                                                                toOUString(protocol), opened, {});
    bridge_.set(bridge, UNO_QUERY);
    watcher_ = new BridgeWatcher;
    if (bridge_.is())
        bridge_->addEventListener(Reference<css::lang::XEventListener>(watcher_.get()));
    const Reference<css::uno::XComponentContext> context(bridge->getInstance(toOUString(object)),
                                                         UNO_QUERY);
    if (!context.is())
        throw OfficeUnavailableError(QStringLiteral("the office offers no \"%1\"").arg(object));
    root_ = Root{context->getServiceManager(), context};
    if (!root_.serviceManager.is())
        throw OfficeUnavailableError(QStringLiteral("the office has no service manager"));
}

void OfficeSession::startOffice() {
    QString why;
    const QString program = OfficeProcess::findOffice(options_.officeExecutable, &why);
    if (program.isEmpty())
        throw OfficeUnavailableError(kCannotStart + why);
    // An office whose connection went down may still be running, and writing its profile and
    // temporary files: it ends before the new one's are prepared.
    process_.stop(kQuickStop);
    // Once the program is ending nothing is prepared that its exit would have to clear again.
    if (process_.isClosed())
        throw OfficeUnavailableError(kCannotStart + QStringLiteral("the program is ending"));
    if (!slot_)
        slot_ = ProfileSlot::acquire(options_.effectiveProfileDir());
    const QString version = OfficeProcess::installedVersion(program);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options_.startTimeoutSeconds);
    for (int restarts = 0;; ++restarts) {
        slot_->prepareSettings(version);
        if (launchAndConnect(program, deadline))
            return;
        // A new profile makes the office set itself up and ask to be started again.
        const std::optional<int> code = process_.exitCode();
        if (code && (*code == 79 || *code == 81) && restarts < 3)
            continue;
        QString detail = lastLogLine(slot_->logPath());
        if (!detail.isEmpty())
            detail.prepend(QStringLiteral(": "));
        throw OfficeUnavailableError(kCannotStart +
                                     QStringLiteral("the office ended at once (%1)%2")
                                         .arg(process_.exitDescription(), detail));
    }
}

bool OfficeSession::launchAndConnect(const QString& program,
                                     std::chrono::steady_clock::time_point deadline) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Under a non-UTF-8 locale the office mangles non-ASCII file names, encoded or not.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // A relative cache folder would have the office's libraries write into whatever folder
    // it runs in; by the XDG rules such a value is to be ignored.
    const QString cacheHome = QStringLiteral("XDG_CACHE_HOME");
    if (environment.contains(cacheHome) && !QDir::isAbsolutePath(environment.value(cacheHome)))
        environment.remove(cacheHome);
    environment.insert(QStringLiteral("SAL_ENABLE_FILE_LOCKING"), QStringLiteral("1"));
    const QString temp = slot_->freshTempFolder();
    if (!temp.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), temp);
    const QString profileUrl =
        QUrl::fromLocalFile(slot_->profilePath()).toString(QUrl::FullyEncoded);
    const QString pipe = QStringLiteral("slatemere-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(++officeStarts);
    process_.start(
        program,
        {QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--norestore"),
         QStringLiteral("--nologo"), QStringLiteral("--nodefault"),
         QStringLiteral("-env:UserInstallation=") + profileUrl,
         QStringLiteral("--accept=pipe,name=%1;urp;%2").arg(pipe, kOfficeObject)},
        environment.toStringList(), slot_->logPath());
    return awaitConnection(QStringLiteral("pipe,name=") + pipe, deadline);
}

bool OfficeSession::awaitConnection(const QString& connection,
                                    std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        try {
            withDeadline(
                remainingUntil(deadline),
                [&] { connect(connection, QStringLiteral("urp"), kOfficeObject); },
                kCannotStart + noAnswerWithin(options_.startTimeoutSeconds));
            return true;
        } catch (const css::connection::NoConnectException&) {
            // Not listening yet.
            dropConnection();
        } catch (const css::lang::DisposedException&) {
            // A connection accepted and then dropped again: try once more.
            dropConnection();
        } catch (...) {
            dropConnection();
            process_.stop(kQuickStop);
            QString reason = caughtExceptionDescription();
            if (!reason.startsWith(kCannotStart))
                reason.prepend(kCannotStart);
            throw OfficeUnavailableError(reason);
        }
        if (!process_.isRunning())
            return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            process_.stop(kQuickStop);
            throw OfficeUnavailableError(
                kCannotStart + QStringLiteral("it did not accept a connection within %1 seconds")
                                   .arg(options_.startTimeoutSeconds));
        }
        std::this_thread::sleep_for(50ms);
    }
}

void OfficeSession::shutdown() {
    restart();
    slot_.reset();
}

void OfficeSession::restart() {
    // Ending the office first lets the bridge go down on its own instead of waiting on it.
    process_.stop(kOrderlyStop);
    dropConnection();
}

void OfficeSession::endForGood() {
    process_.close();
    process_.stop(kQuickStop);
}

}  // namespace slate::uno_detail
