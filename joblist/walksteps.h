// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// One level of the folder walker, by the numbers an error report gives.
enum class WalkStep {
    TestFolderExists = 108,
    TestPathLength = 110,
    ReadFolder = 112,
    LetEventsRun = 114,
    TestWalkedInto = 116,
    RemoveUnlisted = 140,
    WalkDeeper = 150,
    TestSubFolderExists = 152,
    LetEventsRunForSubFolder = 154,
    ReadSubFolder = 156,
    TestSubFolderWalkedInto = 158,
    AdmitSubFolder = 160,
};

}  // namespace slate
