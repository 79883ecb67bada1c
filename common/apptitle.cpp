// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/apptitle.h"

#include "common/product.h"

namespace slate {

namespace {
QString& titleStorage() {
    static QString title = product::kName;
    return title;
}
}  // namespace

QString appTitle() {
    return titleStorage();
}

void setAppTitleText(const QString& title) {
    titleStorage() = title;
}

QString shortenedTitle(const QString& productName) {
    QString title = productName;
    do {
        const qsizetype space = title.lastIndexOf(QLatin1Char(' '));
        // A name without a space has nothing left to cut.
        if (space < 0)
            break;
        title = title.left(space);
    } while (title.size() > 40);
    return title;
}

}  // namespace slate
