#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "convert/batchrun.h"
#include "convert/fileurl.h"
#include "convert/runfiles.h"
#include "convert/runview.h"
#include "joblist/joblist.h"
#include "support/fakebridge.h"
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

// Paths of another system ("C:\\..."), held in memory: folders that exist, and files that a
// save "wrote", keyed by their file URL so that any spelling the run derives matches.
class MemoryRunFiles : public RunFiles {
  public:
    struct File {
        State state;
        QByteArray content;
        quint64 inode = 0;
    };
    QSet<QString> folders;
    QMap<QString, File> filesByUrl;
    QStringList stateQueries;
    QChar separator = QLatin1Char('\\');
    // A file system that takes names differing only in case for the same file.
    bool ignoreCase = false;
    // What the file system says when asked to make a save folder or why a save failed.
    Problem folderProblem = Problem::None;
    Problem diagnosis = Problem::None;

    QString url(const QString& path) const { return fileUrlFromPath(path, separator); }
    void write(const QString& fileUrl, const QByteArray& content) {
        File f;
        f.state.exists = true;
        f.state.regularFile = true;
        f.state.size = content.size();
        f.state.modified = ++clock_;
        f.content = content;
        f.inode = clock_;
        filesByUrl.insert(key(fileUrl), f);
    }
    bool folderExists(const QString& path) override { return folders.contains(path); }
    State state(const QString& path) override {
        stateQueries << path;
        return file(path).state;
    }
    bool sameFile(const QString& a, const QString& b) override {
        return !a.isEmpty() && key(url(a)) == key(url(b));
    }
    QString resolvedPath(const QString& path) override { return url(path); }
    std::optional<FileId> fileId(const QString& path) override {
        const auto it = filesByUrl.constFind(key(url(path)));
        return it == filesByUrl.cend() ? std::nullopt : std::optional(FileId{1, it->inode});
    }
    QByteArray head(const QString& path, int count) override {
        return file(path).content.left(count);
    }
    QString createSaveFolder(const QString& folder, Problem* problem) override {
        *problem = folder.isEmpty() ? Problem::FolderMissing : folderProblem;
        if (*problem != Problem::None)
            return {};
        QString path = folder;
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        return path + QStringLiteral(".save%1").arg(++saves_);
    }
    void removeSaveFolder(const QString& path) override {
        const QString prefix = key(url(path)) + QLatin1Char('/');
        auto it = filesByUrl.lowerBound(prefix);
        while (it != filesByUrl.end() && it.key().startsWith(prefix))
            it = filesByUrl.erase(it);
    }
    Problem replace(const QString& from, const QString& to) override {
        if (!filesByUrl.contains(key(url(from))))
            return Problem::FolderMissing;
        filesByUrl.insert(key(url(to)), filesByUrl.take(key(url(from))));
        return Problem::None;
    }
    Problem diagnose(const QString&, const QString&) override { return diagnosis; }

  private:
    QString key(const QString& fileUrl) const { return ignoreCase ? fileUrl.toLower() : fileUrl; }
    File file(const QString& path) const { return filesByUrl.value(key(url(path))); }

    qint64 clock_ = 1000;
    int saves_ = 0;
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
    // Everything in a folder, hidden entries included.
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }
    // The bridge's log with the private folder a save writes into taken out of its URL, so
    // that the save reads as one to the result's own URL.
    QStringList logAtResults() const {
        static const QRegularExpression saveFolder(QStringLiteral("/\\.slatemere-save-\\w+/"));
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
