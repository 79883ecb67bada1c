// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "support/presentationfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "convert/fileurl.h"

namespace slate::testing {

namespace {

const char kHeader[] =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.presentation">
 <office:automatic-styles>
  <style:page-layout style:name="PM1">
   <style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm"
    style:print-orientation="landscape"/>
  </style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Default" style:page-layout-name="PM1"/>
 </office:master-styles>
 <office:body>
  <office:presentation>
)";

const char kFooter[] = R"(  </office:presentation>
 </office:body>
</office:document>
)";

QString slideXml(int number, const QString& text, bool withShape) {
    QString xml =
        QStringLiteral(
            "   <draw:page draw:name=\"page%1\" draw:master-page-name=\"Default\">\n"
            "    <draw:frame svg:x=\"2cm\" svg:y=\"2cm\" svg:width=\"24cm\" svg:height=\"3cm\">"
            "<draw:text-box><text:p>%2</text:p></draw:text-box></draw:frame>\n")
            .arg(number)
            .arg(text.toHtmlEscaped());
    if (withShape) {
        xml += QStringLiteral(
            "    <draw:rect svg:x=\"2cm\" svg:y=\"7cm\" svg:width=\"8cm\" svg:height=\"5cm\"/>\n");
    }
    return xml + QStringLiteral("   </draw:page>\n");
}

}  // namespace

SlideContent SlideContent::numbered(int slides, bool withShape) {
    SlideContent deck;
    deck.slideTexts.clear();
    for (int i = 1; i <= slides; ++i)
        deck.slideTexts << QStringLiteral("Slide %1").arg(i);
    deck.withShape = withShape;
    return deck;
}

bool writeFlatPresentation(const QString& path, const SlideContent& deck, QString* why) {
    QString xml = QString::fromUtf8(kHeader);
    for (int i = 0; i < deck.slideTexts.size(); ++i)
        xml += slideXml(i + 1, deck.slideTexts[i], deck.withShape);
    xml += QString::fromUtf8(kFooter);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml.toUtf8()) < 0 || !file.commit()) {
        if (why)
            *why = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

DispatchResult saveThroughOffice(OfficeBridge& bridge, const QString& sourcePath,
                                 const QString& targetPath, const QString& filterName) {
    const OfficeRef serviceManager = bridge.obtainServiceManager();
    const OfficeRef desktop = bridge.createInstance(serviceManager, kDesktopService);
    const OfficeRef document =
        bridge.loadComponentFromURL(desktop, fileUrlFromPath(sourcePath), QStringLiteral("_blank"),
                                    0, {MakePropertyValue(bridge, QStringLiteral("Hidden"), true)});
    if (!document)
        throw OfficeError(QStringLiteral("The office loaded no document from %1").arg(sourcePath));
    const OfficeRef helper = bridge.createInstance(serviceManager, kDispatchHelperService);
    const OfficeRef controller = bridge.getCurrentController(document);
    const OfficeRef frame = bridge.getFrame(bridge.getCurrentController(document));
    const PropertyList save{
        MakePropertyValue(bridge, QStringLiteral("URL"), fileUrlFromPath(targetPath)),
        MakePropertyValue(bridge, QStringLiteral("FilterName"), filterName),
        MakePropertyValue(bridge, QStringLiteral("SelectionOnly"), true)};
    const DispatchResult result =
        bridge.executeDispatch(helper, frame, QStringLiteral(".uno:SaveAs"), QString(), 0, save);
    bridge.close(document, true);
    return result;
}

void makeOdp(OfficeBridge& bridge, const QString& targetPath, const SlideContent& deck) {
    const QString flat = targetPath + QStringLiteral(".source.fodp");
    QString why;
    if (!writeFlatPresentation(flat, deck, &why))
        throw OfficeError(why);
    DispatchResult result;
    try {
        result = saveThroughOffice(bridge, flat, targetPath, QStringLiteral("impress8"));
    } catch (...) {
        QFile::remove(flat);
        throw;
    }
    QFile::remove(flat);
    if (!result.succeeded() || !QFileInfo(targetPath).isFile())
        throw OfficeError(QStringLiteral("The office did not save %1").arg(targetPath));
}

}  // namespace slate::testing
