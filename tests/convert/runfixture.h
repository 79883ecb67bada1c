#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "convert/batchrun.h"
#include "convert/fakebridge.h"
#include "convert/fileurl.h"
#include "convert/runfiles.h"
#include "convert/runview.h"
#include "joblist/joblist.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate::testing {

// Records what the run does to the window, as lines such as "value 100" or "pointer busy".
class RecordingRunView : public RunView {
  public:
    bool option1 = false;
    bool option2 = true;
    QString text1;
    QStringList events;
    QList<double> values;
    // Runs at each turn of the event loop, as the user acting at that moment.
    std::function<void(int turn)> onEvents;
    int turns = 0;

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
    bool option1Selected() const override { return option1; }
    bool option2Selected() const override { return option2; }
    QString outputFolderText() const override { return text1; }
};

// Paths of another system ("C:\..."), held in memory: folders that exist, and files that a
// save "wrote", keyed by their file URL so that any spelling the run derives matches.
class MemoryRunFiles : public RunFiles {
  public:
    QSet<QString> folders;
    QHash<QString, State> filesByUrl;
    QStringList stateQueries;
    QChar separator = QLatin1Char('\\');

    void write(const QString& url, const QByteArray& content) {
        State s;
        s.exists = true;
        s.regularFile = true;
        s.size = content.size();
        s.modified = ++clock_;
        filesByUrl.insert(url, s);
    }
    bool folderExists(const QString& path) override { return folders.contains(path); }
    State state(const QString& path) override {
        stateQueries << path;
        return filesByUrl.value(fileUrlFromPath(path, separator));
    }
    bool sameFile(const QString& a, const QString& b) override {
        return !a.isEmpty() && fileUrlFromPath(a, separator) == fileUrlFromPath(b, separator);
    }

  private:
    qint64 clock_ = 1000;
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
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
