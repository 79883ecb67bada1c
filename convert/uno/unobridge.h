// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>

#include "convert/officebridge.h"
#include "convert/uno/officeoptions.h"

namespace slate {

namespace uno_detail {
class OfficeSession;
}

// The bridge to a real LibreOffice over UNO. Unless OfficeOptions::connectUrl names an office
// that is already running, the first obtainServiceManager starts a headless office of its own
// on a private profile; that office is ended by shutdown(), restart(), endForGood() and the
// destructor, and dies with the program in any case. An office that crashed or hung past the
// call limit makes the failing call throw OfficeError; the next obtainServiceManager starts a
// fresh one. Calls are meant for one thread at a time; endForGood() may come from any thread.
class UnoBridge : public OfficeBridge {
  public:
    explicit UnoBridge(OfficeOptions options = OfficeOptions::fromEnvironment());
    ~UnoBridge() override;
    UnoBridge(const UnoBridge&) = delete;
    UnoBridge& operator=(const UnoBridge&) = delete;

    // Closes the connection and ends the office this object started, giving up its profile;
    // a later call to obtainServiceManager starts another.
    void shutdown();
    // Ends the office this object started, keeping its profile for the next one.
    void restart();
    // Ends the office from any thread, even while another thread is in a call, and starts no
    // office any more: for the program's exit.
    void endForGood();
    // The soffice.bin process this object started and that still runs (0 when none).
    qint64 officeProcessId() const;

  protected:
    OfficeRef doObtainServiceManager(const QString& automationName) override;
    OfficeRef doCreateInstance(OfficeObject& serviceManager, const QString& serviceName) override;
    PropertyValue doBridgeGetStruct(OfficeObject& serviceManager, const QString& typeName) override;
    OfficeRef doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                     const QString& targetFrameName, qint16 searchFlags,
                                     const PropertyList& arguments) override;
    OfficeRef doGetCurrentController(OfficeObject& document) override;
    OfficeRef doGetFrame(OfficeObject& controller) override;
    DispatchResult doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                     const QString& command, const QString& targetFrameName,
                                     qint16 searchFlags, const PropertyList& arguments) override;
    void doClose(OfficeObject& document, bool deliverOwnership) override;
    bool doHasExportFilter(const QString& filterName) override;

  private:
    std::unique_ptr<uno_detail::OfficeSession> session_;
};

}  // namespace slate
