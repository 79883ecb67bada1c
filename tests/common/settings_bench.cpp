// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <vector>

#include "common/settings.h"

using namespace slate;

// Typing in the folder box writes once per keystroke, so one write must stay well below a
// keystroke's time. Run with --gtest_also_run_disabled_tests; it measures, it does not judge.
TEST(SettingsBench, DISABLED_MedianSaveSetting) {
    QTemporaryDir dir;
    ScopedSettingsFile scoped(dir.filePath(QStringLiteral("bench.conf")));
    SaveSetting(Setting::Snapshot, QString(2000, QLatin1Char('s')));
    std::vector<qint64> nanos;
    QString text;
    for (int i = 0; i < 1000; ++i) {
        text.append(QLatin1Char('a' + i % 26));
        QElapsedTimer timer;
        timer.start();
        SaveSetting(Setting::Text1, text.right(40));
        nanos.push_back(timer.nsecsElapsed());
    }
    std::sort(nanos.begin(), nanos.end());
    std::cout << "SaveSetting median: " << nanos[nanos.size() / 2] / 1000.0
              << " us, 90th: " << nanos[nanos.size() * 9 / 10] / 1000.0 << " us (1000 writes)"
              << std::endl;
}
