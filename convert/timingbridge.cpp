// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/timingbridge.h"

namespace slate {

OfficeRef TimingBridge::doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                               const QString& targetFrameName, qint16 searchFlags,
                                               const PropertyList& arguments) {
    return timed([&] {
        return ForwardingBridge::doLoadComponentFromURL(desktop, url, targetFrameName, searchFlags,
                                                        arguments);
    });
}

DispatchResult TimingBridge::doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                               const QString& command,
                                               const QString& targetFrameName, qint16 searchFlags,
                                               const PropertyList& arguments) {
    return timed([&] {
        return ForwardingBridge::doExecuteDispatch(dispatchHelper, frame, command, targetFrameName,
                                                   searchFlags, arguments);
    });
}

void TimingBridge::doClose(OfficeObject& document, bool deliverOwnership) {
    timed([&] { ForwardingBridge::doClose(document, deliverOwnership); });
}

}  // namespace slate
