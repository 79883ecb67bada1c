// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/unoruntime.h"

#include <QFileInfo>

#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <mutex>

#include "convert/officebridge.h"
#include "convert/uno/unoerrors.h"
#include "convert/uno/unovalues.h"

namespace slate::uno_detail {

css::uno::Reference<css::uno::XComponentContext> localUnoContext() {
    static std::mutex mutex;
    static css::uno::Reference<css::uno::XComponentContext> context;
    std::lock_guard lock(mutex);
    if (context.is())
        return context;
    if (qEnvironmentVariableIsEmpty("URE_BOOTSTRAP")) {
        const QString rc = QStringLiteral(SLATE_LO_PROGRAM_DIR "/fundamentalrc");
        if (!QFileInfo::exists(rc)) {
            throw OfficeUnavailableError(
                kCannotStart +
                QStringLiteral("the UNO runtime settings \"%1\" are missing").arg(rc));
        }
        rtl::Bootstrap::set(rtl::OUString("URE_BOOTSTRAP"),
                            toOUString(QStringLiteral("vnd.sun.star.pathname:") + rc));
    }
    try {
        context = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        throw OfficeUnavailableError(kCannotStart +
                                     QStringLiteral("the UNO runtime did not start (%1)")
                                         .arg(withoutSourcePosition(toQString(e.Message))));
    }
    return context;
}

}  // namespace slate::uno_detail
