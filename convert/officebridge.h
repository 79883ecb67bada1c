// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

#include "common/errorpolicy.h"

namespace slate {

// Any failure of an office call or of the connection to the office.
class OfficeError : public AppError {
  public:
    using AppError::AppError;
};

// The office could not be started or reached at all.
class OfficeUnavailableError : public OfficeError {
  public:
    using OfficeError::OfficeError;
};

// An office object held by the caller (service manager, desktop, document, controller, frame,
// dispatch helper). What stands behind it is the bridge's; dropping the last reference
// releases it. An empty reference stands for "no object".
class OfficeObject {
  public:
    virtual ~OfficeObject() = default;
};
using OfficeRef = std::shared_ptr<OfficeObject>;

// A com.sun.star.beans.PropertyValue as made by Bridge_GetStruct; its members are set by name.
struct PropertyValue {
    QString name;
    QVariant value;
};
using PropertyList = QList<PropertyValue>;

// The office's DispatchResultState values.
enum class DispatchState { Failure = 0, Success = 1, DontKnow = 2 };

// What the office said about a dispatch; `known` is false when it gave no result event.
struct DispatchResult {
    bool known = false;
    DispatchState state = DispatchState::DontKnow;
    bool succeeded() const { return known && state == DispatchState::Success; }
};

inline const QString kServiceManagerName = QStringLiteral("com.sun.star.ServiceManager");
inline const QString kDesktopService = QStringLiteral("com.sun.star.frame.Desktop");
inline const QString kDispatchHelperService = QStringLiteral("com.sun.star.frame.DispatchHelper");
inline const QString kPropertyValueType = QStringLiteral("com.sun.star.beans.PropertyValue");

// The calls this program makes on the office, with their arguments in order. Public
// members check that the object they act on exists, as a late-bound call on no object
// would fail; implementations provide the do* members.
class OfficeBridge {
  public:
    virtual ~OfficeBridge() = default;

    // A new reference to the office's service manager; throws when the office cannot be
    // reached (OfficeUnavailableError).
    OfficeRef obtainServiceManager(const QString& automationName = kServiceManagerName);
    OfficeRef createInstance(const OfficeRef& serviceManager, const QString& serviceName);
    PropertyValue bridgeGetStruct(const OfficeRef& serviceManager, const QString& typeName);
    // May return an empty reference when the office gives no document.
    OfficeRef loadComponentFromURL(const OfficeRef& desktop, const QString& url,
                                   const QString& targetFrameName, qint16 searchFlags,
                                   const PropertyList& arguments);
    OfficeRef getCurrentController(const OfficeRef& document);
    OfficeRef getFrame(const OfficeRef& controller);
    DispatchResult executeDispatch(const OfficeRef& dispatchHelper, const OfficeRef& frame,
                                   const QString& command, const QString& targetFrameName,
                                   qint16 searchFlags, const PropertyList& arguments);
    // "Close" on the document.
    void close(const OfficeRef& document, bool deliverOwnership);

    // Whether the office can save through the named export filter: an office installed
    // without its presentation module still answers, but lacks the filters this program
    // needs. Throws OfficeError when the office cannot be asked.
    bool hasExportFilter(const QString& filterName);

  protected:
    virtual OfficeRef doObtainServiceManager(const QString& automationName) = 0;
    virtual OfficeRef doCreateInstance(OfficeObject& serviceManager,
                                       const QString& serviceName) = 0;
    virtual PropertyValue doBridgeGetStruct(OfficeObject& serviceManager,
                                            const QString& typeName) = 0;
    virtual OfficeRef doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                             const QString& targetFrameName, qint16 searchFlags,
                                             const PropertyList& arguments) = 0;
    virtual OfficeRef doGetCurrentController(OfficeObject& document) = 0;
    virtual OfficeRef doGetFrame(OfficeObject& controller) = 0;
    virtual DispatchResult doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                             const QString& command, const QString& targetFrameName,
                                             qint16 searchFlags, const PropertyList& arguments) = 0;
    virtual void doClose(OfficeObject& document, bool deliverOwnership) = 0;
    virtual bool doHasExportFilter(const QString& filterName) = 0;
};

// A new property value from a service manager of its own, with its two members set.
PropertyValue MakePropertyValue(OfficeBridge& bridge, const QString& name, const QVariant& value);

}  // namespace slate
