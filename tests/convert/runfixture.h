// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

#include "convert/batchrun.h"
#include "convert/fileurl.h"
#include "convert/runview.h"
#include "joblist/joblist.h"
#include "support/fakebridge.h"
#include "support/memoryfilesystem.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate::testing {

// Records what the run does to the window, as lines such as "value 100" or "pointer busy".
class RecordingRunView : public RunView {
  public:
    bool intoFolder = false;
    bool besideSource = true;
    QString folder;
    QStringList events;
    QList<double> values;
    // Runs at each turn of the event loop, as the user acting at that moment.
    std::function<void(int turn)> onEvents;
    int turns = 0;

    void choose(bool into, bool beside, const QString& to) {
        intoFolder = into;
        besideSource = beside;
        folder = to;
    }

    void setProgressValue(double value) override {
        values << value;
        events << QStringLiteral("value %1").arg(value);
    }
    void setProgressText(const QString& text) override { events << QStringLiteral("text ") + text; }
    void setMousePointer(MousePointer pointer) override {
        events << (pointer == MousePointer::Busy ? QStringLiteral("pointer busy")
                                                 : QStringLiteral("pointer default"));
    }
    void processPendingEvents() override {
        events << QStringLiteral("events");
        ++turns;
        if (onEvents)
            onEvents(turns);
    }
    OutputChoice outputChoice() const override {
        using Place = OutputChoice::Place;
        return {intoFolder     ? Place::IntoFolder
                : besideSource ? Place::BesideSource
                               : Place::None,
                folder};
    }
};

// A run wired to fakes, converting real files in a temporary folder unless told otherwise.
class RunFixture : public ::testing::Test {
  protected:
    JobList jobs;
    RecordingRunView view;
    FakeBridge bridge;
    ScriptedDialogs dialogs;
    RecordingReporter reporter;
    QTemporaryDir dir;

    // A source file with some content; returns its full path.
    QString source(const QString& name, const QByteArray& content = "presentation") {
        return writeTestFile(dir.filePath(name), content);
    }
    QString addSource(const QString& name, const QByteArray& content = "presentation") {
        const QString path = source(name, content);
        jobs.append(path);
        return path;
    }
    static QString url(const QString& path) { return fileUrlFromPath(path); }
    // The document URL of every call of that name, in order.
    QStringList urlsOf(const QString& call) const {
        QStringList urls;
        for (const FakeBridge::Call& c : bridge.calls()) {
            if (c.name == call)
                urls << c.url;
        }
        return urls;
    }
    // Runs the list on `files`, paths of its system, where the office's saves land too.
    RunSummary runOn(MemoryFileSystem& files) {
        bridge.writeTarget = [&files](const QString& fileUrl, const QByteArray& content) {
            files.addFile(QUrl(fileUrl).path()).content = content;
        };
        return BatchRun(jobs, view, bridge, dialogs, reporter, files, files.separator).start();
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Everything in a folder, hidden entries included.
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }
    // The bridge's log with the private folder a save writes into taken out of its URL, so
    // that the save reads as one to the result's own URL.
    QStringList logAtResults() const {
        static const QRegularExpression saveFolder(QStringLiteral("/\\.slatemere-save-[^/]+/"));
        QStringList log = bridge.log();
        for (QString& line : log)
            line.replace(saveFolder, QStringLiteral("/"));
        return log;
    }

    // The calls one converted file makes, in order.
    static QStringList fileCalls(const QString& sourceUrl, const QString& targetUrl,
                                 const QString& frame) {
        const QString sm = QStringLiteral("obtainServiceManager(com.sun.star.ServiceManager)");
        const QString pv = QStringLiteral("Bridge_GetStruct(com.sun.star.beans.PropertyValue)");
        return {sm,
                QStringLiteral("createInstance(com.sun.star.frame.Desktop)"),
                sm,
                pv,
                QStringLiteral("loadComponentFromURL(%1, _blank, 0, [Hidden=true])").arg(sourceUrl),
                QStringLiteral("createInstance(com.sun.star.frame.DispatchHelper)"),
                QStringLiteral("getCurrentController()"),
                QStringLiteral("getCurrentController()"),
                QStringLiteral("getFrame()"),
                sm,
                pv,
                sm,
                pv,
                sm,
                pv,
                QStringLiteral("executeDispatch(%1, .uno:SaveAs, , 0, [URL=%2, FilterName=MS "
                               "PowerPoint 97, SelectionOnly=true])")
                    .arg(frame, targetUrl),
                QStringLiteral("Close(true)")};
    }
};

}  // namespace slate::testing
