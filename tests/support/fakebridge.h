// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "convert/officebridge.h"

namespace slate {

// An in-process stand-in for the office. It records every call with its arguments, can be
// told to fail, hang or misbehave at chosen calls, and "saves" by writing the target file,
// so the run's bookkeeping can be checked without starting an office.
class FakeBridge : public OfficeBridge {
  public:
    struct Call {
        QString name;          // "obtainServiceManager", "createInstance", "Bridge_GetStruct", ...
        QStringList args;      // readable arguments, in order
        QString target;        // the object called on, e.g. "document#2"; empty for the root call
        QString url;           // the document URL the call concerns, when there is one
        QString result;        // the object returned, e.g. "frame#1"; empty for none
        qsizetype index = -1;  // position in the log
        QString text() const;  // "name(arg, arg, ...)"
    };

    enum class Action {
        Fail,             // throw OfficeError with the given description
        Unavailable,      // throw OfficeUnavailableError with the given description
        Hang,             // block until release() or the hang timeout, then throw
        EmptyDocument,    // loadComponentFromURL gives no object
        DispatchFailure,  // executeDispatch reports FAILURE and writes nothing
        SilentNoWrite,    // executeDispatch reports SUCCESS but writes nothing
        UnknownResult,    // executeDispatch writes but gives no DispatchResultEvent
    };

    // Which calls a rule applies to: every call of that name (occurrence 0) or only its Nth
    // (1-based) occurrence, optionally only when its readable text or URL contains `contains`.
    struct Rule {
        Action action = Action::Fail;
        QString call;
        int occurrence = 0;
        QString contains;
        QString description;
    };

    FakeBridge();
    ~FakeBridge() override;

    // The first matching rule wins.
    void addRule(const Rule& rule);
    void failAt(const QString& call, const QString& description, int occurrence = 0,
                const QString& contains = {});
    void hangAt(const QString& call, int occurrence = 0, const QString& contains = {});
    void clearRules();

    // A hanging call gives up after this long with an OfficeError, as a bridge's watchdog
    // would; release() ends every current and future hang at once.
    void setHangTimeout(std::chrono::milliseconds timeout);
    void release();
    // True once a call is hanging; waits up to `timeout` for one to start.
    bool waitUntilHanging(std::chrono::milliseconds timeout);

    // What a save writes. Default: `content` to the local file named by the URL property.
    // Tests that use paths that are not local may write somewhere of their own.
    std::function<void(const QString& url, const QByteArray& content)> writeTarget;
    // Begins like a compound file, as a PowerPoint 97 file does.
    QByteArray content = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "fake PowerPoint 97";
    // The export filters this office has.
    QStringList exportFilters{QStringLiteral("MS PowerPoint 97")};
    // Runs before each call is carried out, to act as the user or the office would meanwhile.
    std::function<void(const Call&)> onCall;

    QList<Call> calls() const;
    QStringList log() const;  // Call::text() of every call, in order
    int count(const QString& name) const;
    void clearLog();
    // Office objects created and not yet released by the caller.
    int liveObjects() const;

  protected:
    OfficeRef doObtainServiceManager(const QString& automationName) override;
    OfficeRef doCreateInstance(OfficeObject& serviceManager, const QString& serviceName) override;
    PropertyValue doBridgeGetStruct(OfficeObject& serviceManager, const QString& typeName) override;
    OfficeRef doLoadComponentFromURL(OfficeObject& desktop, const QString& url,
                                     const QString& targetFrameName, qint16 searchFlags,
                                     const PropertyList& arguments) override;
    OfficeRef doGetCurrentController(OfficeObject& document) override;
    OfficeRef doGetFrame(OfficeObject& controller) override;
    DispatchResult doExecuteDispatch(OfficeObject& dispatchHelper, OfficeObject& frame,
                                     const QString& command, const QString& targetFrameName,
                                     qint16 searchFlags, const PropertyList& arguments) override;
    void doClose(OfficeObject& document, bool deliverOwnership) override;
    bool doHasExportFilter(const QString& filterName) override;

  private:
    class Object;

    OfficeRef make(const QString& kind, const QString& url);
    // A call on `from` that answers with a new object of `kind` for the same document.
    OfficeRef objectOf(const QString& callName, OfficeObject& from, const QString& kind);
    // Records the call, runs onCall and applies the first matching rule; returns the action
    // that the call itself must carry out (EmptyDocument and the dispatch ones), if any.
    std::optional<Action> begin(Call& call);
    // Notes the object a call returned in its record.
    void finish(const Call& call, const OfficeRef& result);
    void hang(const Call& call);

    mutable std::mutex mutex_;
    std::condition_variable hangChanged_;
    QList<Rule> rules_;
    QList<Call> calls_;
    QHash<QString, int> counts_;
    QHash<QString, int> kindCounts_;
    std::chrono::milliseconds hangTimeout_{std::chrono::seconds(30)};
    bool released_ = false;
    int hanging_ = 0;
    std::shared_ptr<int> live_;
};

QString describe(const PropertyList& properties);

}  // namespace slate
