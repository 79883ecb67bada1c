// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/officebridge.h"

namespace slate {

namespace {
OfficeObject& require(const OfficeRef& object, const char* call) {
    if (!object) {
        throw OfficeError(
            QStringLiteral("Object variable not set (%1 on no object)").arg(QLatin1String(call)));
    }
    return *object;
}
}  // namespace

OfficeRef OfficeBridge::obtainServiceManager(const QString& automationName) {
    return doObtainServiceManager(automationName);
}

OfficeRef OfficeBridge::createInstance(const OfficeRef& serviceManager,
                                       const QString& serviceName) {
    return doCreateInstance(require(serviceManager, "createInstance"), serviceName);
}

PropertyValue OfficeBridge::bridgeGetStruct(const OfficeRef& serviceManager,
                                            const QString& typeName) {
    return doBridgeGetStruct(require(serviceManager, "Bridge_GetStruct"), typeName);
}

OfficeRef OfficeBridge::loadComponentFromURL(const OfficeRef& desktop, const QString& url,
                                             const QString& targetFrameName, qint16 searchFlags,
                                             const PropertyList& arguments) {
    return doLoadComponentFromURL(require(desktop, "loadComponentFromURL"), url, targetFrameName,
                                  searchFlags, arguments);
}

OfficeRef OfficeBridge::getCurrentController(const OfficeRef& document) {
    return doGetCurrentController(require(document, "getCurrentController"));
}

OfficeRef OfficeBridge::getFrame(const OfficeRef& controller) {
    return doGetFrame(require(controller, "getFrame"));
}

DispatchResult OfficeBridge::executeDispatch(const OfficeRef& dispatchHelper,
                                             const OfficeRef& frame, const QString& command,
                                             const QString& targetFrameName, qint16 searchFlags,
                                             const PropertyList& arguments) {
    OfficeObject& helper = require(dispatchHelper, "executeDispatch");
    return doExecuteDispatch(helper, require(frame, "executeDispatch"), command, targetFrameName,
                             searchFlags, arguments);
}

void OfficeBridge::close(const OfficeRef& document, bool deliverOwnership) {
    doClose(require(document, "Close"), deliverOwnership);
}

bool OfficeBridge::hasExportFilter(const QString& filterName) {
    return doHasExportFilter(filterName);
}

PropertyValue MakePropertyValue(OfficeBridge& bridge, const QString& name, const QVariant& value) {
    const OfficeRef serviceManager = bridge.obtainServiceManager(kServiceManagerName);
    PropertyValue property = bridge.bridgeGetStruct(serviceManager, kPropertyValueType);
    property.name = name;
    property.value = value;
    return property;
}

}  // namespace slate
