// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The "..." click that picks the output folder. Actions that share a number report the same
// line, as each belongs to that one row of the procedure.
enum class PickOutputStep {
    LoadLastFolder = 100,
    OpenPicker = 100,
    TestCancelled = 102,
    RememberFolder = 104,
    SaveLastFolder = 104,
    TestTrailingSeparator = 104,
    ShowWithSeparator = 106,
    ShowAsPicked = 108,
};

}  // namespace slate
