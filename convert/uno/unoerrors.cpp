// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/unoerrors.h"

#include <QRegularExpression>

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <cppuhelper/exc_hlp.hxx>

#include "convert/officebridge.h"
#include "convert/uno/unovalues.h"

namespace slate::uno_detail {

namespace css = com::sun::star;

QString withoutSourcePosition(const QString& message) {
    static const QRegularExpression position(QStringLiteral("\\s+at\\s+\\S+:\\d+\\s*$"));
    QString text = message;
    text.remove(position);
    return text.trimmed();
}

void rethrowAsOfficeError() {
    try {
        throw;
    } catch (const AppError&) {
        throw;
    } catch (const css::lang::DisposedException& e) {
        throw OfficeError(QStringLiteral("The office stopped answering (DisposedException: %1)")
                              .arg(withoutSourcePosition(toQString(e.Message))));
    } catch (const css::uno::Exception& e) {
        const QString message = withoutSourcePosition(toQString(e.Message));
        if (!message.isEmpty())
            throw OfficeError(message);
        const css::uno::Any caught = cppu::getCaughtException();
        QString type = toQString(caught.getValueTypeName());
        type = type.mid(type.lastIndexOf(QLatin1Char('.')) + 1);
        throw OfficeError(QStringLiteral("The office reported an error (%1)").arg(type));
    } catch (const std::exception& e) {
        throw OfficeError(QString::fromUtf8(e.what()));
    } catch (...) {
        throw OfficeError(QStringLiteral("The office call failed for an unknown reason"));
    }
}

QString caughtExceptionDescription() {
    try {
        rethrowAsOfficeError();
    } catch (const AppError& e) {
        return e.description();
    }
}

}  // namespace slate::uno_detail
