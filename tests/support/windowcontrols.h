// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTemporaryDir>
#include <QWidget>

#include <stdexcept>
#include <string>

#include "app/mainwindow.h"
#include "common/settings.h"
#include "support/fakes.h"
#include "support/scripteddialogs.h"

namespace slate::testing {

// A control of a window found by its object name, the way a user's tools find it; a missing
// control fails the test.
template <class Control = QWidget>
Control* controlOf(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    if (!control)
        throw std::logic_error(std::string("the window has no such control: ") + name);
    return control;
}

// What a window needs from outside, scripted: its own settings file, dialogs, shell, random
// draws and error reporter.
struct ScriptedWindowServices {
    WindowServices services(OfficeBridge& bridge, FileSystem& files, const QString& programFolder) {
        return WindowServices{dialogs, shell, random, reporter, bridge, files, programFolder};
    }

    QTemporaryDir settingsFolder;
    ScopedSettingsFile settings{settingsFolder.filePath(QStringLiteral("settings.conf"))};
    ScriptedDialogs dialogs;
    RecordingShell shell;
    ScriptedRandom random;
    RecordingReporter reporter;
};

}  // namespace slate::testing
