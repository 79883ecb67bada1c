// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QElapsedTimer>

#include "convert/forwardingbridge.h"

namespace slate {

// Passes every call on to another bridge and adds up the time the office spends loading,
// saving and closing documents: the part of a file's conversion no client can avoid.
class TimingBridge : public ForwardingBridge {
  public:
    using ForwardingBridge::ForwardingBridge;

    double officeSeconds() const { return nanoseconds_ / 1e9; }
    void resetOfficeTime() { nanoseconds_ = 0; }

  protected:
    OfficeRef doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                     const QString& targetFrameName, qint16 searchFlags,
                                     const PropertyList& arguments) override;
    DispatchResult doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                     const QString& command, const QString& targetFrameName,
                                     qint16 searchFlags, const PropertyList& arguments) override;
    void doClose(OfficeObject& document, bool deliverOwnership) override;

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

    qint64 nanoseconds_ = 0;
};

}  // namespace slate
