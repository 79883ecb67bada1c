// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/interaction.h"

#include <QCoreApplication>

#include "common/apptitle.h"

namespace slate {

MsgAnswer Dialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon) {
    return messageBox(text, appTitle(), buttons, icon);
}

QString toDisplayLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void handlePendingEvents() {
    // The command line may run without an application object.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

}  // namespace slate
