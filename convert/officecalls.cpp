// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/officecalls.h"

namespace slate::officecalls {

namespace {
const QString kUrl = QStringLiteral("URL");
}

OfficeRef loadHidden(OfficeBridge& bridge, const OfficeRef& desktop, const QString& url) {
    const PropertyList load{MakePropertyValue(bridge, QStringLiteral("Hidden"), true)};
    return bridge.loadComponentFromURL(desktop, url, QStringLiteral("_blank"), 0, load);
}

PropertyValue targetUrl(OfficeBridge& bridge, const QString& url) {
    return MakePropertyValue(bridge, kUrl, url);
}

PropertyValue powerPoint97Filter(OfficeBridge& bridge) {
    return MakePropertyValue(bridge, QStringLiteral("FilterName"), kPowerPoint97Filter);
}

PropertyValue selectionOnly(OfficeBridge& bridge) {
    return MakePropertyValue(bridge, QStringLiteral("SelectionOnly"), true);
}

void retarget(PropertyList& save, const QString& url) {
    for (PropertyValue& property : save) {
        if (property.name == kUrl)
            property.value = url;
    }
}

DispatchResult saveAs(OfficeBridge& bridge, const OfficeRef& dispatchHelper, const OfficeRef& frame,
                      const PropertyList& save) {
    return bridge.executeDispatch(dispatchHelper, frame, QStringLiteral(".uno:SaveAs"), QString(),
                                  0, save);
}

}  // namespace slate::officecalls
