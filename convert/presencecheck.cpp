#include "convert/presencecheck.h"

#include "common/interaction.h"
#include "common/product.h"
#include "convert/officebridge.h"

namespace slate {

QString officeRequiredText() {
    return QStringLiteral("Error 214878392") + QStringLiteral("\r\n\r\n") +
           QStringLiteral(
               "OpenOffice is required to run this software. It is not installed on "
               "this computer.") +
           QStringLiteral("\r\r") + QStringLiteral("Woud you like to open this site now?") +
           QStringLiteral("\r\n\r\n") +
           QStringLiteral(
               "(If you think this error is a mistake and you have OpenOffice "
               "installed, please email a screenshot of this error message and a "
               "screenshot of the OpenOffice 'About' window to ") +
           product::kSupportAddress + QStringLiteral(")");
}

bool RequireOpenOffice(OfficeBridge& bridge, Dialogs& dialogs, Shell& shell,
                       const std::function<void()>& endProgram) {
    bool reached = false;
    try {
        reached = static_cast<bool>(bridge.obtainServiceManager(kServiceManagerName));
    } catch (...) {
        reached = false;
    }
    if (reached)
        return true;

    MsgAnswer answer = MsgAnswer::No;
    try {
        answer = dialogs.message(officeRequiredText(), MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes)
            shell.openUrl(product::kOfficeDownloadPage);
    } catch (...) {
        // Nothing here may keep the program from ending.
    }
    endProgram();
    return false;
}

}  // namespace slate
