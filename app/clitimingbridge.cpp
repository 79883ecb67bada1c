#include "app/clitimingbridge.h"

namespace slate {

namespace {

// The inner bridge's object, handed out in a wrapper of this bridge's own.
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

OfficeRef TimingBridge::doObtainServiceManager(const QString& automationName) {
    return wrap(inner_.obtainServiceManager(automationName));
}

OfficeRef TimingBridge::doCreateInstance(OfficeObject& serviceManager, const QString& serviceName) {
    return wrap(inner_.createInstance(unwrap(serviceManager), serviceName));
}

PropertyValue TimingBridge::doBridgeGetStruct(OfficeObject& serviceManager,
                                              const QString& typeName) {
    return inner_.bridgeGetStruct(unwrap(serviceManager), typeName);
}

OfficeRef TimingBridge::doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                               const QString& targetFrameName, qint16 searchFlags,
                                               const PropertyList& arguments) {
    return wrap(timed([&] {
        return inner_.loadComponentFromURL(unwrap(desktop), url, targetFrameName, searchFlags,
                                           arguments);
    }));
}

OfficeRef TimingBridge::doGetCurrentController(OfficeObject& document) {
    return wrap(inner_.getCurrentController(unwrap(document)));
}

OfficeRef TimingBridge::doGetFrame(OfficeObject& controller) {
    return wrap(inner_.getFrame(unwrap(controller)));
}

DispatchResult TimingBridge::doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                               const QString& command,
                                               const QString& targetFrameName, qint16 searchFlags,
                                               const PropertyList& arguments) {
    return timed([&] {
        return inner_.executeDispatch(unwrap(dispatchHelper), unwrap(frame), command,
                                      targetFrameName, searchFlags, arguments);
    });
}

void TimingBridge::doClose(OfficeObject& document, bool deliverOwnership) {
    timed([&] { inner_.close(unwrap(document), deliverOwnership); });
}

}  // namespace slate
