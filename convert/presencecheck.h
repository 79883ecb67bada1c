#pragma once

#include <QString>

#include <functional>

namespace slate {

class Dialogs;
class OfficeBridge;
class Shell;

// The message shown when the office cannot be reached, with its own line breaks.
QString officeRequiredText();

// Tries once to reach the office. When that fails it says the office is required, offers its
// download page and then calls `endProgram`, which is not expected to return. Failures inside
// are never reported: they only mean the office is not there. True when the office answered.
bool RequireOpenOffice(OfficeBridge& bridge, Dialogs& dialogs, Shell& shell,
                       const std::function<void()>& endProgram);

}  // namespace slate
