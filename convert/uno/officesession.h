// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <com/sun/star/connection/XConnection.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ref.hxx>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

#include "convert/uno/officeoptions.h"
#include "convert/uno/officeprocess.h"
#include "convert/uno/profileslot.h"

namespace slate::uno_detail {

namespace css = com::sun::star;

class BridgeWatcher;

// The connection to one office: starts it when this program owns it, reuses the connection
// while it lives, starts afresh after the office died or hung, and runs every call under the
// call deadline.
class OfficeSession {
  public:
    explicit OfficeSession(OfficeOptions options);
    ~OfficeSession();

    struct Root {
        css::uno::Reference<css::lang::XMultiComponentFactory> serviceManager;
        css::uno::Reference<css::uno::XComponentContext> context;
    };
    // The office's service manager, connecting (and starting the office) when needed.
    // Throws OfficeUnavailableError.
    Root root();

    // Runs one office call under the call deadline; every failure leaves as OfficeError.
    void call(const std::function<void()>& body);

    // Closes the connection and ends an office this session started, giving up its profile.
    void shutdown();
    // Ends the office so that the next root() starts a fresh one on the same profile, which
    // stays this session's meanwhile.
    void restart();
    // For the exit: ends the office from any thread, without touching the connection that
    // another thread may be calling through, and starts none any more.
    void endForGood();
    qint64 officeProcessId() const { return process_.pid(); }

  private:
    bool connectionAlive();
    void dropConnection();
    void startOffice();
    // Starts the office once and connects to it: false when it ended before it accepted.
    bool launchAndConnect(const QString& program, std::chrono::steady_clock::time_point deadline);
    bool awaitConnection(const QString& connection, std::chrono::steady_clock::time_point deadline);
    void connectToRunningOffice();
    // Connects to `connection` ("pipe,name=..." or "socket,host=...,port=...") and fetches
    // the named object; throws NoConnectException while nothing listens there.
    void connect(const QString& connection, const QString& protocol, const QString& object);
    // Runs `body` with the deadline armed; on expiry the connection is cut (and the office killed).
    void withDeadline(std::chrono::milliseconds limit, const std::function<void()>& body,
                      const QString& timeoutMessage);

    OfficeOptions options_;
    OfficeProcess process_;
    std::unique_ptr<ProfileSlot> slot_;

    std::mutex connectionMutex_;  // the watchdog reads connection_ from its own thread
    css::uno::Reference<css::connection::XConnection> connection_;
    css::uno::Reference<css::lang::XComponent> bridge_;
    rtl::Reference<BridgeWatcher> watcher_;
    Root root_;
};

}  // namespace slate::uno_detail
