// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace slate::uno_detail {

// The local UNO runtime, bootstrapped once per process from the office's own type libraries:
// without them the bootstrap "succeeds" and the first remote call crashes. Throws
// OfficeUnavailableError when the runtime cannot start.
com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> localUnoContext();

}  // namespace slate::uno_detail
