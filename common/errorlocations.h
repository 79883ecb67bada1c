// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// Where a guarded procedure runs: the error report names it, and every text stands here once.
namespace slate::location {

inline const QString kFormLoad = QStringLiteral("in Pellory2021/08/31.Form1.Form_Load ");
inline const QString kAddFiles = QStringLiteral("in Pellory2021/08/31.Form1.PushButton1_Click ");
inline const QString kConvert = QStringLiteral("in Pellory2021/08/31.Form1.PushButton2_Click ");
inline const QString kPickOutput = QStringLiteral("in Pellory2021/08/31.Form1.PushButton3_Click ");
inline const QString kAddFolder = QStringLiteral("in Pellory2021/08/31.Form1.PushButton4_Click ");
inline const QString kClearList = QStringLiteral("in Pellory2021/08/31.Form1.PushButton8_Click ");
inline const QString kLoadSamples = QStringLiteral("in Pellory2021/08/31.Form1.PushButton9_Click ");
// The drop is not one of the button handlers, but its folder walk can fail like theirs.
inline const QString kDrop = QStringLiteral("in Pellory2021/08/31.Form1.ListView1_OLEDragDrop ");
inline const QString kFolderWalker =
    QStringLiteral("in Corbalt2021/08/31.AddFolder.GetSubDirectories2016 ");

}  // namespace slate::location
