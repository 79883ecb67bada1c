// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/forwardingbridge.h"

namespace slate {

namespace {

// The inner bridge's object, handed out in a wrapper of this bridge's own: the inner bridge
// only ever sees objects it made.
class Wrapped : public OfficeObject {
  public:
    explicit Wrapped(OfficeRef inner) : inner(std::move(inner)) {}
    const OfficeRef inner;
};

OfficeRef wrap(OfficeRef inner) {
    return inner ? std::make_shared<Wrapped>(std::move(inner)) : OfficeRef();
}

const OfficeRef& unwrap(OfficeObject& object) {
    return static_cast<Wrapped&>(object).inner;
}

}  // namespace

OfficeRef ForwardingBridge::doObtainServiceManager(const QString& automationName) {
    return wrap(inner_.obtainServiceManager(automationName));
}

OfficeRef ForwardingBridge::doCreateInstance(OfficeObject& serviceManager,
                                             const QString& serviceName) {
    return wrap(inner_.createInstance(unwrap(serviceManager), serviceName));
}

PropertyValue ForwardingBridge::doBridgeGetStruct(OfficeObject& serviceManager,
                                                  const QString& typeName) {
    return inner_.bridgeGetStruct(unwrap(serviceManager), typeName);
}

OfficeRef ForwardingBridge::doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                                   const QString& targetFrameName,
                                                   qint16 searchFlags,
                                                   const PropertyList& arguments) {
    return wrap(
        inner_.loadComponentFromURL(unwrap(desktop), url, targetFrameName, searchFlags, arguments));
}

OfficeRef ForwardingBridge::doGetCurrentController(OfficeObject& document) {
    return wrap(inner_.getCurrentController(unwrap(document)));
}

OfficeRef ForwardingBridge::doGetFrame(OfficeObject& controller) {
    return wrap(inner_.getFrame(unwrap(controller)));
}

DispatchResult ForwardingBridge::doExecuteDispatch(OfficeObject& dispatchHelper,
                                                   OfficeObject& frame, const QString& command,
                                                   const QString& targetFrameName,
                                                   qint16 searchFlags,
                                                   const PropertyList& arguments) {
    return inner_.executeDispatch(unwrap(dispatchHelper), unwrap(frame), command, targetFrameName,
                                  searchFlags, arguments);
}

void ForwardingBridge::doClose(OfficeObject& document, bool deliverOwnership) {
    inner_.close(unwrap(document), deliverOwnership);
}

bool ForwardingBridge::doHasExportFilter(const QString& filterName) {
    return inner_.hasExportFilter(filterName);
}

}  // namespace slate
