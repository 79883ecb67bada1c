// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

#include "convert/fileurl.h"
#include "support/fakebridge.h"

namespace slate {
namespace {

using namespace std::chrono_literals;

OfficeRef load(FakeBridge& bridge, const QString& url) {
    const OfficeRef sm = bridge.obtainServiceManager();
    const OfficeRef desktop = bridge.createInstance(sm, kDesktopService);
    return bridge.loadComponentFromURL(desktop, url, QStringLiteral("_blank"), 0,
                                       {MakePropertyValue(bridge, QStringLiteral("Hidden"), true)});
}

TEST(FakeBridgeTest, RulesMatchByOccurrenceAndByUrl) {
    FakeBridge bridge;
    bridge.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("second"), 2);
    bridge.failAt(QStringLiteral("loadComponentFromURL"), QStringLiteral("bad"), 0,
                  QStringLiteral("bad.odp"));

    EXPECT_TRUE(load(bridge, QStringLiteral("file:///a.odp")));
    try {
        load(bridge, QStringLiteral("file:///b.odp"));
        FAIL() << "the second load should fail";
    } catch (const OfficeError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("second"));
    }
    EXPECT_TRUE(load(bridge, QStringLiteral("file:///c.odp")));
    EXPECT_THROW(load(bridge, QStringLiteral("file:///bad.odp")), OfficeError);
    EXPECT_EQ(bridge.count(QStringLiteral("loadComponentFromURL")), 4);
    EXPECT_EQ(bridge.log().at(4),
              QStringLiteral("loadComponentFromURL(file:///a.odp, _blank, 0, [Hidden=true])"));
}

TEST(FakeBridgeTest, UnavailableOfficeRaisesItsOwnErrorType) {
    FakeBridge bridge;
    bridge.addRule({FakeBridge::Action::Unavailable,
                    QStringLiteral("obtainServiceManager"),
                    0,
                    {},
                    QStringLiteral("gone")});
    EXPECT_THROW(bridge.obtainServiceManager(), OfficeUnavailableError);
}

TEST(FakeBridgeTest, AHangingCallWaitsForReleaseOrGivesUpAfterItsTimeout) {
    FakeBridge bridge;
    bridge.hangAt(QStringLiteral("obtainServiceManager"), 1);
    bridge.setHangTimeout(50ms);
    EXPECT_THROW(bridge.obtainServiceManager(), OfficeError);

    bridge.clearRules();
    bridge.hangAt(QStringLiteral("obtainServiceManager"));
    bridge.setHangTimeout(10s);
    std::thread releaser([&] {
        EXPECT_TRUE(bridge.waitUntilHanging(5s));
        bridge.release();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(bridge.obtainServiceManager());
    releaser.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST(FakeBridgeTest, SaveWritesTheTargetUnlessToldOtherwise) {
    QTemporaryDir dir;
    FakeBridge bridge;
    const QString target = dir.filePath(QStringLiteral("sub/out put.ppt"));
    const auto save = [&] {
        const OfficeRef sm = bridge.obtainServiceManager();
        const OfficeRef helper = bridge.createInstance(sm, kDispatchHelperService);
        const OfficeRef document = load(bridge, QStringLiteral("file:///a.odp"));
        const OfficeRef frame = bridge.getFrame(bridge.getCurrentController(document));
        return bridge.executeDispatch(
            helper, frame, QStringLiteral(".uno:SaveAs"), {}, 0,
            {MakePropertyValue(bridge, QStringLiteral("URL"), fileUrlFromPath(target))});
    };

    EXPECT_TRUE(save().succeeded());
    EXPECT_TRUE(QFileInfo::exists(target));
    QFile::remove(target);

    bridge.addRule(
        {FakeBridge::Action::DispatchFailure, QStringLiteral("executeDispatch"), 0, {}, {}});
    const DispatchResult failed = save();
    EXPECT_TRUE(failed.known);
    EXPECT_FALSE(failed.succeeded());
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(bridge.liveObjects(), 0);
}

}  // namespace
}  // namespace slate
