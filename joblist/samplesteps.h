// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The "Load Sample/Example Files" click.
enum class LoadSamplesStep {
    LoadSampleFiles = 100,
};

}  // namespace slate
