// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

#include <memory>

#include "convert/officepool.h"
#include "convert/uno/officeoptions.h"

namespace slate {

// The real offices for a pool: the running ones that `connections` names (UNO connection
// strings), which are only connected to, never started or stopped; with none named, offices of
// this program's own, each on a private profile and pipe, started at first use.
OfficePool::Factory unoOffices(const OfficeOptions& options, const QStringList& connections = {});
// How many offices unoOffices() can make.
int unoOfficeLimit(const QStringList& connections);
// The window's offices, as the environment asks: the one running office that
// SLATEMERE_OFFICE_URL names, or offices of the program's own.
std::unique_ptr<OfficePool> officesFromEnvironment();

}  // namespace slate
