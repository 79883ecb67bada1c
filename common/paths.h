// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>

// Path helpers on plain text. The separator is a parameter: the program passes the native one,
// and "\" gives the classic drive-letter behaviour.
namespace slate {

inline constexpr QChar kBackslash = QLatin1Char('\\');
inline constexpr QChar kNativeSeparator = QLatin1Char('/');

// The text after the last separator; the whole text when there is none.
QString GetFileName(const QString& path, QChar separator = kNativeSeparator);
// The text up to and including the last separator; empty when there is none.
QString GetFolderPath(const QString& path, QChar separator = kNativeSeparator);
// The text after the last "." anywhere in the path (folders included); the whole text when
// there is no dot.
QString GetExtension(const QString& path);
// Collapses doubled separators in one left-to-right pass. A leading run of separators
// becomes exactly two with "\" (the network-share prefix) and exactly one otherwise.
QString FixBackslashes(const QString& path, QChar separator = kNativeSeparator);

// A name as a message shows it: in double quotes; a name holding a control character (a line
// break, a tab) in the shell's quoting, as GNU tools print it ('a'$'\n''b'), so that a report
// stays on one line and the name can be given back to a shell.
QString quotedName(const QString& name);
// The same without the double quotes: the name as it is unless it holds a control character.
QString shownName(const QString& name);

// Replaces every pair of `ch` by one `ch` in one left-to-right pass (three in a row become two).
QString collapsePairs(const QString& text, QChar ch);

}  // namespace slate
