// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

namespace slate {

// The window is laid out in twips: 1440 to the inch, so 15 to a pixel at 96 dpi.
inline int twipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

inline QRect twipsRect(int left, int top, int width, int height, int dpi) {
    return {twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
            twipsToPixels(height, dpi)};
}

inline int logicalDpi(const QWidget* widget) {
    return widget ? widget->logicalDpiY() : 96;
}

}  // namespace slate
