// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "convert/officebridge.h"

// The office's own words for what the run asks of it: a hidden document in a new frame, and a
// "Save As" to PowerPoint 97 through the dispatcher.
namespace slate::officecalls {

inline const QString kPowerPoint97Filter = QStringLiteral("MS PowerPoint 97");

// Opens the file at `url` hidden, in a new frame; an empty reference when the office gives none.
OfficeRef loadHidden(OfficeBridge& bridge, const OfficeRef& desktop, const QString& url);

// The three properties of a save, each made on its own so a failed one can be told apart.
PropertyValue targetUrl(OfficeBridge& bridge, const QString& url);
PropertyValue powerPoint97Filter(OfficeBridge& bridge);
PropertyValue selectionOnly(OfficeBridge& bridge);
// Points a save's target property at another file.
void retarget(PropertyList& save, const QString& url);

DispatchResult saveAs(OfficeBridge& bridge, const OfficeRef& dispatchHelper, const OfficeRef& frame,
                      const PropertyList& save);

}  // namespace slate::officecalls
