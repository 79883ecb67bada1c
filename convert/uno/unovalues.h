// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVariant>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include "convert/officebridge.h"

// Conversions between this program's values and UNO's, private to the UNO client.
namespace slate::uno_detail {

namespace css = com::sun::star;

// An office object as the caller holds it. A service manager also carries the office's
// component context, which creating instances needs.
class UnoObject : public OfficeObject {
  public:
    UnoObject(css::uno::Reference<css::uno::XInterface> object,
              css::uno::Reference<css::uno::XComponentContext> context = {})
        : object_(std::move(object)), context_(std::move(context)) {}

    const css::uno::Reference<css::uno::XInterface>& object() const { return object_; }
    const css::uno::Reference<css::uno::XComponentContext>& context() const { return context_; }

  private:
    css::uno::Reference<css::uno::XInterface> object_;
    css::uno::Reference<css::uno::XComponentContext> context_;
};

inline rtl::OUString toOUString(const QString& text) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()),
                         static_cast<sal_Int32>(text.size()));
}

inline QString toQString(const rtl::OUString& text) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.getStr()), text.getLength());
}

// Booleans, strings and integers, the values the program passes; an invalid QVariant is an
// empty Any. Anything else throws OfficeError naming the property.
css::uno::Any toAny(const QVariant& value, const QString& propertyName);

css::uno::Sequence<css::beans::PropertyValue> toPropertySequence(const PropertyList& list);

// A DispatchResultEvent's State, or an unknown result for anything else.
DispatchResult toDispatchResult(const css::uno::Any& result);

}  // namespace slate::uno_detail
