// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate {

class JobList;

// True when any row's text equals `text` exactly (case-sensitive, no path normalisation).
bool IsInList(const JobList& list, const QString& text);

}  // namespace slate
