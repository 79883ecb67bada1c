// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/presencecheck.h"

#include <cstdio>

#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/product.h"
#include "convert/batchrun.h"
#include "convert/officebridge.h"
#include "convert/officecalls.h"

namespace slate {

namespace {
// Debian and its derivatives ship the presentation filters apart from the core office.
const QString kFilterPackage = QStringLiteral("libreoffice-impress");
}  // namespace

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

QString officeUnreachableReason(OfficeBridge& bridge) {
    try {
        if (!bridge.obtainServiceManager(kServiceManagerName))
            return QStringLiteral("LibreOffice gave no service manager.");
    } catch (...) {
        return describeException(std::current_exception());
    }
    return {};
}

QString missingFilterReason(OfficeBridge& bridge) {
    try {
        if (bridge.hasExportFilter(officecalls::kPowerPoint97Filter))
            return {};
    } catch (...) {
        return QStringLiteral(
                   "LibreOffice could not say whether it has the \"%1\" export "
                   "filter: %2")
            .arg(officecalls::kPowerPoint97Filter, describeException(std::current_exception()));
    }
    return QStringLiteral(
               "LibreOffice has no \"%1\" export filter, which the conversion "
               "needs. On Debian and Ubuntu it comes with the package %2 "
               "(sudo apt install %2).")
        .arg(officecalls::kPowerPoint97Filter, kFilterPackage);
}

QString officeUnusableReason(OfficeBridge& bridge) {
    const QString why = officeUnreachableReason(bridge);
    if (why.isEmpty())
        return missingFilterReason(bridge);
    // The bridge's own descriptions already say what failed to start or answer.
    return why.startsWith(QLatin1String("LibreOffice"))
               ? why
               : QStringLiteral("LibreOffice cannot be reached: %1").arg(why);
}

void writeStandardErrorLine(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

bool RequireOpenOffice(OfficeBridge& bridge, Dialogs& dialogs, Shell& shell,
                       const std::function<void()>& endProgram,
                       const std::function<void(const QString&)>& explain) {
    const QString reason = officeUnusableReason(bridge);
    if (reason.isEmpty())
        return true;

    MsgAnswer answer = MsgAnswer::No;
    try {
        // The box names no cause; a terminal or a log is where the cause can be read.
        if (explain)
            explain(product::kCommandName + QStringLiteral(": ") + reason);
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
