// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

// Drives the real window offscreen for the benchmark and the tests: lists the files named on
// the command line, chooses the output folder, clicks "Start Converting" and says how long the
// run took and the longest time the window did not handle its events.
//
//   slate-window-bench OUTPUT-FOLDER FILE... [--close-after MS]
//
// With --close-after the window is closed that long into the run, as a user would, which ends
// the program at once (exit status 0) the way closing the real window does.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "common/interaction.h"
#include "common/platform/filesystem.h"
#include "common/platform/terminationsignals.h"
#include "common/programfolder.h"
#include "convert/uno/unooffices.h"
#include "joblist/joblist.h"

namespace {

// The event loop's lateness: a timer that should fire every few milliseconds notes how much
// later than that it came.
class StallMeter : public QObject {
  public:
    explicit StallMeter(int intervalMs) : interval_(intervalMs) {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            longest_ = std::max(longest_, clock_.elapsed() - interval_);
            clock_.restart();
        });
    }
    void start() {
        clock_.start();
        timer_.start(interval_);
    }
    qint64 longestMs() const { return longest_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    int interval_;
    qint64 longest_ = 0;
};

// Boxes become lines on standard output, answered at once.
class LineDialogs : public slate::Dialogs {
  public:
    explicit LineDialogs(QTextStream& out) : out_(out) {}
    slate::MsgAnswer messageBox(const QString& text, const QString&, slate::MsgButtons,
                                slate::MsgIcon) override {
        out_ << text << Qt::endl;
        return slate::MsgAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileDialog(const slate::OpenFileRequest&) override { return {}; }
    QString browseForFolder(const QString&, const QString&) override { return {}; }

  private:
    QTextStream& out_;
};

class LineReporter : public slate::ErrorReporter {
  public:
    explicit LineReporter(QTextStream& err) : err_(err) {}
    void report(const QString& description, const QString& location, int step) override {
        err_ << location << " (" << step << "): " << description << Qt::endl;
        ++count;
    }
    int count = 0;

  private:
    QTextStream& err_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    slate::installTerminationHandlers();
    QStringList args = QCoreApplication::arguments().mid(1);
    int closeAfter = -1;
    if (const qsizetype at = args.indexOf(QStringLiteral("--close-after")); at >= 0) {
        closeAfter = args.value(at + 1).toInt();
        args.remove(at, 2);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 2) {
        err << "usage: slate-window-bench OUTPUT-FOLDER FILE... [--close-after MS]\n";
        return 2;
    }
    LineDialogs dialogs(out);
    slate::DesktopShell shell;
    slate::SystemRandom random;
    LineReporter reporter(err);
    const std::unique_ptr<slate::OfficePool> pool = slate::officesFromEnvironment();
    slate::OfficePool& offices = *pool;
    offices.grow(1);
    slate::MainWindow window({dialogs, shell, random, reporter, offices.bridge(0),
                              slate::nativeFileSystem(),
                              QDir::toNativeSeparators(slate::ProgramFolder()), &offices});
    window.Form_Load();
    window.findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(true);
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))
        ->setText(QDir(args.takeFirst()).absolutePath());
    for (const QString& file : args)
        window.jobList().append(QFileInfo(file).absoluteFilePath());
    window.show();

    StallMeter stalls(5);
    QElapsedTimer clock;
    QTimer::singleShot(0, &window, [&] {
        stalls.start();
        if (closeAfter >= 0)
            QTimer::singleShot(closeAfter, &window, [&] { window.close(); });
        clock.start();
        window.findChild<QPushButton*>(QStringLiteral("PushButton2"))->click();
        out << "window-seconds " << clock.nsecsElapsed() / 1e9 << "\n";
        out << "longest-stall-ms " << stalls.longestMs() << "\n";
        out << "reports " << reporter.count << "\n";
        out.flush();
        app.quit();
    });
    return app.exec();
}
