// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "convert/uno/unobridge.h"
#include "support/presentationfiles.h"

namespace slate::testing {

inline const QString kPowerPoint97 = QStringLiteral("MS PowerPoint 97");

// One bridge for the test suite. Its office starts at the first call that needs it; the suite
// ends it and checks that no office process is left.
class OfficeSuite : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static UnoBridge& bridge() { return *bridge_; }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // The office's pid after making sure it runs.
    qint64 runningOffice();
    // Desktop of the running office.
    OfficeRef desktop();

    QTemporaryDir dir_;

  private:
    static std::unique_ptr<UnoBridge> bridge_;
};

// Default options with a call limit short enough for a stuck test to fail rather than hang.
OfficeOptions testOfficeOptions();

// The description of the OfficeError `call` throws; "<no OfficeError>" when it throws none.
QString officeErrorOf(const std::function<void()>& call);

// Everything in a folder, hidden entries included.
QStringList entriesOf(const QString& folder);
// True while the office is writing a result into `outputFolder`: a save folder there holds
// something.
bool saveUnderWay(const QString& outputFolder);

}  // namespace slate::testing
