// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include "convert/officebridge.h"

namespace slate {

// Passes every call on to another bridge, so that a bridge adding something to a few calls
// (timing them, say) overrides only those and calls this base for the rest.
class ForwardingBridge : public OfficeBridge {
  public:
    explicit ForwardingBridge(OfficeBridge& inner) : inner_(inner) {}

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
    OfficeBridge& inner_;
};

}  // namespace slate
