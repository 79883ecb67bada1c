// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/isinlist.h"

#include "joblist/joblist.h"

namespace slate {

bool IsInList(const JobList& list, const QString& text) {
    bool found = false;
    for (const QString& row : list.texts())
        found = found || row == text;
    return found;
}

}  // namespace slate
