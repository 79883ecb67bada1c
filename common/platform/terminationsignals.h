// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// Makes SIGINT, SIGTERM and SIGHUP end the program through its exit hooks (status 128 plus
// the signal's number), so that an office it started does not outlive it. A second signal
// while the hooks run makes them end their processes at once instead of after their grace
// periods. Safe to call more than once.
void installTerminationHandlers();

}  // namespace slate
