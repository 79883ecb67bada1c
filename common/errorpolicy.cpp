// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "common/errorpolicy.h"

#include "common/interaction.h"
#include "common/product.h"

namespace slate {

AppError::AppError(const QString& description)
    : std::runtime_error(description.toStdString()), description_(description) {}

QString errorReportText(const QString& description, const QString& location, int step) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(step) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + product::kSupportAddress;
}

QString describeException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        return e.description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void DialogErrorReporter::report(const QString& description, const QString& location, int step) {
    dialogs_.messageBox(errorReportText(description, location, step), kErrorReportCaption,
                        MsgButtons::Ok, MsgIcon::Warning);
}

void GuardedProcedure::fail(std::exception_ptr error) {
    ++failures_;
    reporter_.report(describeException(error), location_, current_);
}

}  // namespace slate
