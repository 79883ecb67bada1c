// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/unobridge.h"

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "convert/uno/officesession.h"
#include "convert/uno/unovalues.h"

namespace slate {

using namespace uno_detail;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

UnoObject& unoObject(OfficeObject& object) {
    auto* uno = dynamic_cast<UnoObject*>(&object);
    if (!uno)
        throw OfficeError(QStringLiteral("The object does not come from this office connection"));
    return *uno;
}

// The interface behind a late-bound call; a missing one is the "no such method" failure.
template <class Interface>
Reference<Interface> require(OfficeObject& object, const char* call) {
    Reference<Interface> found(unoObject(object).object(), UNO_QUERY);
    if (!found.is()) {
        throw OfficeError(
            QStringLiteral("The office object does not support %1").arg(QLatin1String(call)));
    }
    return found;
}

const QString kFilterFactory = QStringLiteral("com.sun.star.document.FilterFactory");
// The filter flag that says the filter can write documents.
constexpr sal_Int32 kExportFlag = 0x2;

OfficeRef wrap(const Reference<css::uno::XInterface>& object,
               const Reference<css::uno::XComponentContext>& context = {}) {
    if (!object.is())
        return nullptr;
    return std::make_shared<UnoObject>(object, context);
}

}  // namespace

UnoBridge::UnoBridge(OfficeOptions options)
    : session_(std::make_unique<OfficeSession>(std::move(options))) {}

UnoBridge::~UnoBridge() = default;

void UnoBridge::shutdown() {
    session_->shutdown();
}

void UnoBridge::restart() {
    session_->restart();
}

void UnoBridge::endForGood() {
    session_->endForGood();
}

qint64 UnoBridge::officeProcessId() const {
    return session_->officeProcessId();
}

OfficeRef UnoBridge::doObtainServiceManager(const QString& automationName) {
    if (automationName != kServiceManagerName) {
        throw OfficeUnavailableError(
            QStringLiteral("Cannot create the automation object \"%1\"").arg(automationName));
    }
    const OfficeSession::Root root = session_->root();
    return wrap(root.serviceManager, root.context);
}

OfficeRef UnoBridge::doCreateInstance(OfficeObject& serviceManager, const QString& serviceName) {
    OfficeRef created;
    session_->call([&] {
        const auto factory =
            require<css::lang::XMultiComponentFactory>(serviceManager, "createInstance");
        const Reference<css::uno::XComponentContext>& context = unoObject(serviceManager).context();
        created =
            wrap(factory->createInstanceWithContext(toOUString(serviceName), context), context);
    });
    if (!created) {
        throw OfficeError(
            QStringLiteral("The office cannot create the service \"%1\"").arg(serviceName));
    }
    return created;
}

PropertyValue UnoBridge::doBridgeGetStruct(OfficeObject& serviceManager, const QString& typeName) {
    unoObject(serviceManager);
    if (typeName != kPropertyValueType)
        throw OfficeError(QStringLiteral("The office has no structure type \"%1\"").arg(typeName));
    return PropertyValue{};
}

OfficeRef UnoBridge::doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                            const QString& targetFrameName, qint16 searchFlags,
                                            const PropertyList& arguments) {
    const auto properties = toPropertySequence(arguments);
    OfficeRef document;
    session_->call([&] {
        const auto loader = require<css::frame::XComponentLoader>(desktop, "loadComponentFromURL");
        document = wrap(loader->loadComponentFromURL(toOUString(url), toOUString(targetFrameName),
                                                     searchFlags, properties));
    });
    return document;
}

OfficeRef UnoBridge::doGetCurrentController(OfficeObject& document) {
    OfficeRef controller;
    session_->call([&] {
        controller = wrap(
            require<css::frame::XModel>(document, "getCurrentController")->getCurrentController());
    });
    return controller;
}

OfficeRef UnoBridge::doGetFrame(OfficeObject& controller) {
    OfficeRef frame;
    session_->call([&] {
        frame = wrap(require<css::frame::XController>(controller, "getFrame")->getFrame());
    });
    return frame;
}

DispatchResult UnoBridge::doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                            const QString& command, const QString& targetFrameName,
                                            qint16 searchFlags, const PropertyList& arguments) {
    const auto properties = toPropertySequence(arguments);
    DispatchResult result;
    session_->call([&] {
        const auto helper = require<css::frame::XDispatchHelper>(dispatchHelper, "executeDispatch");
        const auto provider = require<css::frame::XDispatchProvider>(frame, "executeDispatch");
        result = toDispatchResult(helper->executeDispatch(
            provider, toOUString(command), toOUString(targetFrameName), searchFlags, properties));
    });
    return result;
}

void UnoBridge::doClose(OfficeObject& document, bool deliverOwnership) {
    session_->call(
        [&] { require<css::util::XCloseable>(document, "Close")->close(deliverOwnership); });
}

bool UnoBridge::doHasExportFilter(const QString& filterName) {
    const OfficeSession::Root root = session_->root();
    bool found = false;
    session_->call([&] {
        const Reference<css::container::XNameAccess> filters(
            root.serviceManager->createInstanceWithContext(toOUString(kFilterFactory),
                                                           root.context),
            UNO_QUERY);
        if (!filters.is())
            throw OfficeError(QStringLiteral("The office has no filter factory"));
        const rtl::OUString name = toOUString(filterName);
        if (!filters->hasByName(name))
            return;
        css::uno::Sequence<css::beans::PropertyValue> properties;
        filters->getByName(name) >>= properties;
        found = true;
        for (const css::beans::PropertyValue& property : properties) {
            sal_Int32 flags = 0;
            if (property.Name == "Flags" && (property.Value >>= flags))
                found = (flags & kExportFlag) != 0;
        }
    });
    return found;
}

}  // namespace slate
