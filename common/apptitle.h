// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate {

// The program-wide caption of every message box that is given none of its own.
QString appTitle();
void setAppTitleText(const QString& title);

// The title made from a product name: cut at the last space, again while longer than 40.
QString shortenedTitle(const QString& productName);

}  // namespace slate
