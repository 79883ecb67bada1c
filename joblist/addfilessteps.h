// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The "Add ODP File(s)" click, by the numbers an error report gives.
enum class AddFilesStep {
    ClearFileName = 104,
    AllowMultiSelect = 106,
    SetTitle = 108,
    SetFilter = 110,
    ShowDialog = 112,
    TestCancelled = 114,
    SplitAnswer = 116,
    TestSingleFile = 118,
    AppendSingleFile = 120,
    TestNoNames = 124,
    ComposePath = 136,
    CleanPath = 138,
    AppendFile = 140,
};

}  // namespace slate
