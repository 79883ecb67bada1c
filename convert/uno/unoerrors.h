// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate::uno_detail {

// How every failure to start or reach the program's own office begins.
inline const QString kCannotStart = QStringLiteral("LibreOffice could not be started: ");

// Inside a catch block: throws the exception being handled as an OfficeError whose
// description a user can read. Errors that already are AppErrors pass unchanged.
[[noreturn]] void rethrowAsOfficeError();

// Inside a catch block: the description rethrowAsOfficeError would give.
QString caughtExceptionDescription();

// The office's messages end in the source position that raised them; users need only the text.
QString withoutSourcePosition(const QString& message);

}  // namespace slate::uno_detail
