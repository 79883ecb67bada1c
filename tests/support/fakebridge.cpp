// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "support/fakebridge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace slate {

class FakeBridge::Object : public OfficeObject {
  public:
    Object(QString label, QString url, std::shared_ptr<int> live)
        : label(std::move(label)), url(std::move(url)), live_(std::move(live)) {
        ++*live_;
    }
    ~Object() override { --*live_; }

    const QString label;
    const QString url;

  private:
    std::shared_ptr<int> live_;
};

namespace {

QString describeValue(const QVariant& value) {
    if (!value.isValid())
        return QStringLiteral("<empty>");
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return value.toString();
}

QString urlProperty(const PropertyList& properties) {
    for (const PropertyValue& p : properties) {
        if (p.name == QLatin1String("URL"))
            return p.value.toString();
    }
    return {};
}

void writeLocalFile(const QString& url, const QByteArray& content) {
    const QString path = QUrl(url).toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir())
        throw OfficeError(QStringLiteral("cannot write to %1").arg(url));
    // The office creates missing folders on the way.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
        throw OfficeError(QStringLiteral("cannot write to %1").arg(url));
}

}  // namespace

QString describe(const PropertyList& properties) {
    QStringList parts;
    for (const PropertyValue& p : properties)
        parts << p.name + QLatin1Char('=') + describeValue(p.value);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString FakeBridge::Call::text() const {
    return name + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
}

FakeBridge::FakeBridge() : writeTarget(writeLocalFile), live_(std::make_shared<int>(0)) {}

FakeBridge::~FakeBridge() {
    release();
}

void FakeBridge::addRule(const Rule& rule) {
    std::lock_guard lock(mutex_);
    rules_.append(rule);
}

void FakeBridge::failAt(const QString& call, const QString& description, int occurrence,
                        const QString& contains) {
    addRule({Action::Fail, call, occurrence, contains, description});
}

void FakeBridge::hangAt(const QString& call, int occurrence, const QString& contains) {
    addRule({Action::Hang, call, occurrence, contains, {}});
}

void FakeBridge::clearRules() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

void FakeBridge::setHangTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard lock(mutex_);
    hangTimeout_ = timeout;
}

void FakeBridge::release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    hangChanged_.notify_all();
}

bool FakeBridge::waitUntilHanging(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return hangChanged_.wait_for(lock, timeout, [this] { return hanging_ > 0; });
}

QList<FakeBridge::Call> FakeBridge::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

QStringList FakeBridge::log() const {
    std::lock_guard lock(mutex_);
    QStringList out;
    for (const Call& c : calls_)
        out << c.text();
    return out;
}

int FakeBridge::count(const QString& name) const {
    std::lock_guard lock(mutex_);
    return counts_.value(name);
}

void FakeBridge::clearLog() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    counts_.clear();
}

int FakeBridge::liveObjects() const {
    return *live_;
}

OfficeRef FakeBridge::make(const QString& kind, const QString& url) {
    int number;
    {
        std::lock_guard lock(mutex_);
        number = ++kindCounts_[kind];
    }
    return std::make_shared<Object>(kind + QLatin1Char('#') + QString::number(number), url, live_);
}

std::optional<FakeBridge::Action> FakeBridge::begin(Call& call) {
    std::optional<Rule> matched;
    {
        std::lock_guard lock(mutex_);
        const int occurrence = ++counts_[call.name];
        call.index = calls_.size();
        calls_.append(call);
        for (const Rule& rule : rules_) {
            if (rule.call != call.name)
                continue;
            if (rule.occurrence != 0 && rule.occurrence != occurrence)
                continue;
            if (!rule.contains.isEmpty() && !call.text().contains(rule.contains) &&
                !call.url.contains(rule.contains))
                continue;
            matched = rule;
            break;
        }
    }
    if (onCall)
        onCall(call);
    if (!matched)
        return std::nullopt;
    switch (matched->action) {
        case Action::Fail:
            throw OfficeError(matched->description);
        case Action::Unavailable:
            throw OfficeUnavailableError(matched->description);
        case Action::Hang:
            hang(call);
            return std::nullopt;
        default:
            return matched->action;
    }
}

void FakeBridge::finish(const Call& call, const OfficeRef& result) {
    std::lock_guard lock(mutex_);
    if (call.index >= 0 && call.index < calls_.size() && result)
        calls_[call.index].result = static_cast<Object&>(*result).label;
}

void FakeBridge::hang(const Call& call) {
    std::unique_lock lock(mutex_);
    ++hanging_;
    hangChanged_.notify_all();
    const bool answered = hangChanged_.wait_for(lock, hangTimeout_, [this] { return released_; });
    --hanging_;
    if (!answered) {
        throw OfficeError(QStringLiteral("The office did not answer %1 within %2 ms")
                              .arg(call.name)
                              .arg(hangTimeout_.count()));
    }
}

OfficeRef FakeBridge::doObtainServiceManager(const QString& automationName) {
    Call call{QStringLiteral("obtainServiceManager"), {automationName}, {}, {}, {}};
    begin(call);
    OfficeRef sm = make(QStringLiteral("serviceManager"), {});
    finish(call, sm);
    return sm;
}

OfficeRef FakeBridge::doCreateInstance(OfficeObject& serviceManager, const QString& serviceName) {
    auto& sm = static_cast<Object&>(serviceManager);
    Call call{QStringLiteral("createInstance"), {serviceName}, sm.label, {}, {}};
    begin(call);
    QString kind = QStringLiteral("service");
    if (serviceName == kDesktopService)
        kind = QStringLiteral("desktop");
    else if (serviceName == kDispatchHelperService)
        kind = QStringLiteral("dispatchHelper");
    else
        throw OfficeError(QStringLiteral("Unknown service %1").arg(serviceName));
    OfficeRef object = make(kind, {});
    finish(call, object);
    return object;
}

PropertyValue FakeBridge::doBridgeGetStruct(OfficeObject& serviceManager, const QString& typeName) {
    auto& sm = static_cast<Object&>(serviceManager);
    Call call{QStringLiteral("Bridge_GetStruct"), {typeName}, sm.label, {}, {}};
    begin(call);
    if (typeName != kPropertyValueType)
        throw OfficeError(QStringLiteral("Unknown type %1").arg(typeName));
    return {};
}

OfficeRef FakeBridge::doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                             const QString& targetFrameName, qint16 searchFlags,
                                             const PropertyList& arguments) {
    auto& d = static_cast<Object&>(desktop);
    Call call{QStringLiteral("loadComponentFromURL"),
              {url, targetFrameName, QString::number(searchFlags), describe(arguments)},
              d.label,
              url,
              {}};
    if (begin(call) == Action::EmptyDocument)
        return {};
    OfficeRef document = make(QStringLiteral("document"), url);
    finish(call, document);
    return document;
}

OfficeRef FakeBridge::doGetCurrentController(OfficeObject& document) {
    return objectOf(QStringLiteral("getCurrentController"), document, QStringLiteral("controller"));
}

OfficeRef FakeBridge::doGetFrame(OfficeObject& controller) {
    return objectOf(QStringLiteral("getFrame"), controller, QStringLiteral("frame"));
}

OfficeRef FakeBridge::objectOf(const QString& callName, OfficeObject& from, const QString& kind) {
    auto& source = static_cast<Object&>(from);
    Call call{callName, {}, source.label, source.url, {}};
    begin(call);
    OfficeRef made = make(kind, source.url);
    finish(call, made);
    return made;
}

DispatchResult FakeBridge::doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                             const QString& command, const QString& targetFrameName,
                                             qint16 searchFlags, const PropertyList& arguments) {
    auto& helper = static_cast<Object&>(dispatchHelper);
    auto& f = static_cast<Object&>(frame);
    const QString target = urlProperty(arguments);
    Call call{
        QStringLiteral("executeDispatch"),
        {f.label, command, targetFrameName, QString::number(searchFlags), describe(arguments)},
        helper.label,
        target,
        {}};
    const std::optional<Action> action = begin(call);
    if (action == Action::DispatchFailure)
        return {true, DispatchState::Failure};
    if (action == Action::SilentNoWrite)
        return {true, DispatchState::Success};
    try {
        if (writeTarget)
            writeTarget(target, content);
    } catch (const OfficeError&) {
        // The office reports a save it could not make instead of raising.
        return {true, DispatchState::Failure};
    }
    if (action == Action::UnknownResult)
        return {};
    return {true, DispatchState::Success};
}

void FakeBridge::doClose(OfficeObject& document, bool deliverOwnership) {
    auto& doc = static_cast<Object&>(document);
    Call call{QStringLiteral("Close"),
              {deliverOwnership ? QStringLiteral("true") : QStringLiteral("false")},
              doc.label,
              doc.url,
              {}};
    begin(call);
}

bool FakeBridge::doHasExportFilter(const QString& filterName) {
    Call call{QStringLiteral("hasExportFilter"), {filterName}, {}, {}, {}};
    begin(call);
    return exportFilters.contains(filterName);
}

}  // namespace slate
