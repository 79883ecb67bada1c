#pragma once

#include <QElapsedTimer>

#include "convert/officebridge.h"

namespace slate {

// Passes every call on to another bridge and adds up the time the office spends loading,
// saving and closing documents: the part of a file's conversion no client can avoid.
class TimingBridge : public OfficeBridge {
  public:
    explicit TimingBridge(OfficeBridge& inner) : inner_(inner) {}

    double officeSeconds() const { return nanoseconds_ / 1e9; }
    void resetOfficeTime() { nanoseconds_ = 0; }

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
    bool doHasExportFilter(const QString& filterName) override {
        return inner_.hasExportFilter(filterName);
    }

  private:
    // Adds the time `call` takes, even when it throws.
    template <class Call>
    auto timed(Call&& call) {
        QElapsedTimer timer;
        timer.start();
        struct Add {
            QElapsedTimer& timer;
            qint64& total;
            ~Add() { total += timer.nsecsElapsed(); }
        } add{timer, nanoseconds_};
        return call();
    }

    OfficeBridge& inner_;
    qint64 nanoseconds_ = 0;
};

}  // namespace slate
