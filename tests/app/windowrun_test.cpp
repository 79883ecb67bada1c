// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <deque>

#include "app/joblistview.h"
#include "convert/officepool.h"
#include "joblist/joblist.h"
#include "support/fakeoffice.h"
#include "support/tempfiles.h"
#include "windowfixture.h"

namespace slate {
namespace {

// The window's run on a pool of fake offices, each a FakeBridge of its own.
class WindowRun : public ::testing::Test, protected testing::ScriptedWindowServices {
  protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    MainWindow& window(int offices) {
        for (int i = 0; i < offices; ++i)
            bridges.emplace_back();
        pool = std::make_unique<OfficePool>(testing::fakeOffices(bridges, nullptr), offices);
        pool->grow(1);
        WindowServices s = services(pool->bridge(0), nativeFileSystem(), folder.path());
        s.offices = pool.get();
        window_ = std::make_unique<MainWindow>(s);
        window_->setCloseAction([] {});
        window_->setOfficeCount([offices](int) { return offices; });
        testing::controlOf<QRadioButton>(*window_, "Option2")->setChecked(true);
        return *window_;
    }
    QString source(const QString& name) {
        return testing::writeTestFile(folder.filePath(name), "presentation");
    }
    void start() {
        QTest::mouseClick(testing::controlOf<QPushButton>(*window_, "PushButton2"), Qt::LeftButton);
    }
    QStringList reportsSeen() const {
        QStringList seen;
        for (const auto& r : reporter.reports)
            seen << QString::number(r.step) + QLatin1Char(' ') + r.description;
        return seen;
    }

    QTemporaryDir folder;
    std::deque<FakeBridge> bridges;
    std::unique_ptr<OfficePool> pool;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowRun, TwoOfficesShowTheSameBoxesInTheSameOrderAsOne) {
    QList<QStringList> seen;
    for (const int offices : {1, 2}) {
        reporter.reports.clear();
        dialogs.shown.clear();
        bridges.clear();
        window_.reset();
        MainWindow& w = window(offices);
        for (const char* name : {"a.odp", "broken.odp", "c.odp", "d.odp"})
            w.jobList().append(source(QLatin1String(name)));
        // Every office fails the same file the same way, whichever takes it.
        for (FakeBridge& bridge : bridges)
            bridge.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("damaged"), 0,
                          QStringLiteral("broken.odp"));
        // Each box runs an event loop, as a modal one does: later files end inside it.
        reporter.onReport = [](const auto&) { QTest::qWait(20); };
        start();
        EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Done.")});
        EXPECT_FALSE(w.isBusy());
        EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("d.ppt"))));
        seen << reportsSeen();
    }
    EXPECT_FALSE(seen.at(0).isEmpty());
    EXPECT_EQ(seen.at(1), seen.at(0));
    EXPECT_GT(bridges.at(1).count(QStringLiteral("loadComponentFromURL")), 0)
        << "one office did it all";
}

// While both offices load their first file, the user picks a folder, adds a row and presses
// "Clear List": the files already started keep their options, the later one takes the new
// folder, the new row waits for the next run, and the list is not cleared.
TEST_F(WindowRun, WhatTheUserDoesMidRunAppliesToTheFilesNotYetStarted) {
    MainWindow& w = window(2);
    for (const char* name : {"a.odp", "b.odp", "c.odp"})
        w.jobList().append(source(QLatin1String(name)));
    const QString into = folder.filePath(QStringLiteral("into"));
    ASSERT_TRUE(QDir().mkpath(into));
    QSemaphore gate;
    std::atomic<int> loading{0};
    for (FakeBridge& bridge : bridges) {
        bridge.onCall = [&](const FakeBridge::Call& call) {
            if (call.name != QLatin1String("loadComponentFromURL") || call.url.contains("c.odp"))
                return;
            if (++loading == 2) {
                QMetaObject::invokeMethod(&w, [&] {
                    testing::controlOf<QRadioButton>(w, "Option1")->setChecked(true);
                    testing::controlOf<QLineEdit>(w, "Text1")->setText(into);
                    w.jobList().append(source(QStringLiteral("late.odp")));
                    testing::controlOf<QPushButton>(w, "PushButton8")->click();
                    gate.release(2);
                });
            }
            gate.acquire();
        };
    }
    start();
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("a.ppt"))));
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("b.ppt"))));
    EXPECT_TRUE(QFile::exists(into + QStringLiteral("/c.ppt")));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("late.ppt"))));
    EXPECT_EQ(w.jobList().count(), 4);
    EXPECT_TRUE(reporter.reports.isEmpty()) << reportsSeen().join(QLatin1Char('\n')).toStdString();
}

TEST(WindowOfficeCount, FollowsTheCoresTheMemoryTheFilesAndTheSetting) {
    constexpr qint64 kGiB = 1024LL * 1024 * 1024;
    struct Case {
        int files;
        const char* asked;
        int cores;
        qint64 bytes;
        int offices;
    };
    for (const Case& c : {Case{20, "auto", 8, 16 * kGiB, 8}, Case{3, "", 8, 16 * kGiB, 3},
                          Case{20, "2", 8, 16 * kGiB, 2}, Case{20, "12", 8, 16 * kGiB, 8},
                          Case{20, "0", 8, 16 * kGiB, 8}, Case{20, "many", 4, -1, 4},
                          Case{20, " 1 ", 4, -1, 1}, Case{20, "auto", 8, kGiB / 2, 2}}) {
        EXPECT_EQ(windowOfficeCount(c.files, QLatin1String(c.asked), c.cores, c.bytes), c.offices)
            << c.files << " files, Offices=" << c.asked << ", " << c.cores << " cores";
    }
}

}  // namespace
}  // namespace slate
