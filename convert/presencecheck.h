// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <functional>

namespace slate {

class Dialogs;
class OfficeBridge;
class Shell;

// The message shown when the office cannot be reached, with its own line breaks.
QString officeRequiredText();

// Why the office cannot do this program's work: it cannot be reached, or it lacks the
// "MS PowerPoint 97" export filter. Empty text when it can. Never throws. The two halves
// stand apart for the office pool, which asks for the filter once per start of an office;
// officeUnreachableReason gives the failure's own description.
QString officeUnusableReason(OfficeBridge& bridge);
QString officeUnreachableReason(OfficeBridge& bridge);
QString missingFilterReason(OfficeBridge& bridge);

// Writes one line on standard error at once.
void writeStandardErrorLine(const QString& line);

// Tries once to reach the office and asks it for the export filter the run needs. When
// either fails it writes the reason through `explain`, says the office is required, offers
// its download page and then calls `endProgram`, which is not expected to return. Failures
// inside are never reported: they only mean the office is not there. True when the office
// can be used.
bool RequireOpenOffice(OfficeBridge& bridge, Dialogs& dialogs, Shell& shell,
                       const std::function<void()>& endProgram,
                       const std::function<void(const QString&)>& explain = writeStandardErrorLine);

}  // namespace slate
