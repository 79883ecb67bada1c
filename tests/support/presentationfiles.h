// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include "convert/officebridge.h"

// Source presentations for tests that drive a real office.
namespace slate::testing {

struct SlideContent {
    // One slide per entry, each showing its text in a text frame.
    QStringList slideTexts{QStringLiteral("Slide 1")};
    // Adds a rectangle to every slide.
    bool withShape = false;

    // Slides reading "Slide 1" to "Slide n".
    static SlideContent numbered(int slides, bool withShape = false);
};

// Writes the deck as a flat-XML OpenDocument presentation (.fodp), which the office opens like
// an .odp. False, with `why` set, when the file cannot be written.
bool writeFlatPresentation(const QString& path, const SlideContent& deck, QString* why = nullptr);

// Opens `sourcePath` hidden and stores it at `targetPath` through `filterName` with
// ".uno:SaveAs", in the call order the program's run uses (service manager, desktop, load,
// dispatch helper, controller, frame, the three save properties, dispatch, close). Paths are
// native; the URLs are encoded. Throws OfficeError when a call fails or no document loads.
DispatchResult saveThroughOffice(OfficeBridge& bridge, const QString& sourcePath,
                                 const QString& targetPath, const QString& filterName);

// Writes a real .odp at `targetPath`: the deck as a flat presentation beside it, converted with
// the "impress8" filter, then removed. Throws OfficeError when the office does not save it.
void makeOdp(OfficeBridge& bridge, const QString& targetPath, const SlideContent& deck);

}  // namespace slate::testing
