// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "app/mainwindow.h"
#include "common/platform/filesystem.h"
#include "common/settings.h"
#include "support/fakebridge.h"
#include "support/fakes.h"
#include "support/scripteddialogs.h"
#include "support/windowcontrols.h"

namespace slate::testing {

// A main window with scripted dialogs and a program folder of its own; closing it never ends
// the test program.
class WindowTest : public ::testing::Test, protected ScriptedWindowServices {
  protected:
    void SetUp() override { ASSERT_TRUE(programFolder.isValid()); }

    // Forgets the window, as a restart of the program would; the settings stay.
    void restart() { window_.reset(); }

    MainWindow& window() {
        if (!window_) {
            window_ = std::make_unique<MainWindow>(
                services(bridge, nativeFileSystem(), programFolder.path()));
            window_->setCloseAction([this] { ++closeRequests; });
            window_->setEndProgram([this] { ++endRequests; });
        }
        return *window_;
    }

    // A control of the window by its object name.
    template <class Control = QWidget>
    Control* control(const char* name) {
        return controlOf<Control>(window(), name);
    }

    QString programFile(const QString& name) const { return programFolder.filePath(name); }

    QTemporaryDir programFolder;
    FakeBridge bridge;
    int closeRequests = 0;
    int endRequests = 0;

  private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace slate::testing
