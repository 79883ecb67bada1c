// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The start-up sequence before the window first shows, by the numbers an error report gives.
enum class StartupStep {
    ApplySkin = 100,
    TestHandPointer = 102,
    LoadHandPointer = 104,
    MaybeOpenHomePage = 106,
    RecordSamples = 108,
    // An empty record is tried once more.
    RecordSamplesAgain = 128,
    SetCaption = 130,
    AddListColumn = 132,
    SetColumnWidth = 134,
    RestoreOutputFolder = 136,
    RestoreIntoFolderOption = 138,
    RestoreBesideSourceOption = 140,
    TestIntoFolder = 142,
    EnableFolderBox = 144,
    DisableFolderBox = 146,
    RequireOffice = 148,
};

}  // namespace slate
