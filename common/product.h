// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// Names and addresses the program shows or stores; kept in one place.
namespace slate::product {

inline const QString kName = QStringLiteral("Slatemere Converter");
// The command line's name, which starts each line it writes about a problem.
inline const QString kCommandName = QStringLiteral("slatemere-converter");
inline const QString kSettingsApplication = QStringLiteral("Harnwick");
inline const QString kSettingsSection = QStringLiteral("Slatemere Converter");
inline const QString kSupportAddress = QStringLiteral("support@slatemere.example");
inline const QString kHomePage = QStringLiteral("https://www.slatemere.example/");
inline const QString kOfficeDownloadPage =
    QStringLiteral("https://www.libreoffice.org/download/index.html");
inline const QString kVersion = QStringLiteral("1.0.0");

}  // namespace slate::product
