// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/paths.h"

#include <algorithm>

#include "common/errorpolicy.h"

namespace slate {

namespace {
// Character positions are 16-bit in these helpers; longer texts are refused, not misread.
constexpr qsizetype kMaxPositions = 32767;

void checkPositions(const QString& path) {
    if (path.size() > kMaxPositions)
        throw AppError(QStringLiteral("Overflow"));
}
}  // namespace

QString GetFileName(const QString& path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.mid(last + 1);
}

QString GetFolderPath(const QString& path, QChar separator) {
    checkPositions(path);
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? QString() : path.left(last + 1);
}

QString GetExtension(const QString& path) {
    checkPositions(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path : path.mid(dot + 1);
}

QString collapsePairs(const QString& text, QChar ch) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text.at(i));
        if (text.at(i) == ch && i + 1 < text.size() && text.at(i + 1) == ch)
            ++i;
    }
    return out;
}

QString FixBackslashes(const QString& path, QChar separator) {
    if (!path.startsWith(separator))
        return collapsePairs(path, separator);
    qsizetype k = 0;
    while (k < path.size() && path.at(k) == separator)
        ++k;
    const QString prefix = separator == kBackslash ? QString(2, separator) : QString(separator);
    return prefix + collapsePairs(path.mid(k), separator);
}

namespace {

bool isControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

QString shellEscaped(const QString& name) {
    QString out;
    bool open = false;
    const auto setOpen = [&](bool wanted) {
        if (open != wanted)
            out += QLatin1Char('\'');
        open = wanted;
    };
    for (const QChar c : name) {
        if (isControl(c)) {
            setOpen(false);
            switch (c.unicode()) {
                case '\n':
                    out += QStringLiteral("$'\\n'");
                    break;
                case '\t':
                    out += QStringLiteral("$'\\t'");
                    break;
                case '\r':
                    out += QStringLiteral("$'\\r'");
                    break;
                default:
                    out += QStringLiteral("$'\\%1'").arg(c.unicode(), 3, 8, QLatin1Char('0'));
            }
        } else if (c == QLatin1Char('\'')) {
            setOpen(false);
            out += QStringLiteral("\\'");
        } else {
            setOpen(true);
            out += c;
        }
    }
    setOpen(false);
    return out;
}

}  // namespace

QString shownName(const QString& name) {
    return std::any_of(name.cbegin(), name.cend(), isControl) ? shellEscaped(name) : name;
}

QString quotedName(const QString& name) {
    const QString shown = shownName(name);
    return shown == name ? QLatin1Char('"') + name + QLatin1Char('"') : shown;
}

}  // namespace slate
