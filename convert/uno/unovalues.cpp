// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/unovalues.h"

#include <com/sun/star/frame/DispatchResultEvent.hpp>

namespace slate::uno_detail {

css::uno::Any toAny(const QVariant& value, const QString& propertyName) {
    switch (value.typeId()) {
        case QMetaType::UnknownType:
            return {};
        case QMetaType::Bool:
            return css::uno::Any(value.toBool());
        case QMetaType::QString:
            return css::uno::Any(toOUString(value.toString()));
        case QMetaType::Short:
            return css::uno::Any(static_cast<sal_Int16>(value.toInt()));
        case QMetaType::Int:
            return css::uno::Any(static_cast<sal_Int32>(value.toInt()));
        default:
            throw OfficeError(
                QStringLiteral("The office cannot take a value of type %1 for the property \"%2\"")
                    .arg(QString::fromLatin1(value.typeName()), propertyName));
    }
}

css::uno::Sequence<css::beans::PropertyValue> toPropertySequence(const PropertyList& list) {
    css::uno::Sequence<css::beans::PropertyValue> sequence(static_cast<sal_Int32>(list.size()));
    css::beans::PropertyValue* out = sequence.getArray();
    for (const PropertyValue& property : list) {
        out->Name = toOUString(property.name);
        out->Value = toAny(property.value, property.name);
        ++out;
    }
    return sequence;
}

DispatchResult toDispatchResult(const css::uno::Any& result) {
    css::frame::DispatchResultEvent event;
    if (result >>= event)
        return DispatchResult{true, static_cast<DispatchState>(event.State)};
    return DispatchResult{};
}

}  // namespace slate::uno_detail
