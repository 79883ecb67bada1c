// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Checks a converted file without the office: a PowerPoint 97 file is an OLE compound file
// holding a "PowerPoint Document" stream of binary records.
namespace slate::testing {

struct PowerPointContents {
    // Slide containers (record type 0x03EE) at the top level of the "PowerPoint Document"
    // stream: masters and notes pages are not counted.
    int slides = 0;
    // The text atoms inside those slides, in stream order.
    QStringList slideTexts;
};

// Reads the file's compound-file header, FAT, directory and "PowerPoint Document" stream and
// walks its records. nullopt, with `why` set, when any of that is missing or malformed.
std::optional<PowerPointContents> readPowerPoint97(const QString& path, QString* why = nullptr);

// Whether the file is a PowerPoint 97 presentation, as readPowerPoint97 sees it.
bool isPowerPoint97File(const QString& path, QString* why = nullptr);

}  // namespace slate::testing
