// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The "Clear List" click.
enum class ClearListStep {
    ClearList = 100,
};

}  // namespace slate
