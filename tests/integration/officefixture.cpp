// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "officefixture.h"

#include <QDir>
#include <QElapsedTimer>

#include <iostream>

#include "support/officeprocesses.h"

namespace slate::testing {

std::unique_ptr<UnoBridge> OfficeSuite::bridge_;

OfficeOptions testOfficeOptions() {
    OfficeOptions options = OfficeOptions::fromEnvironment();
    options.callTimeoutSeconds = 60;
    return options;
}

void OfficeSuite::SetUpTestSuite() {
    bridge_ = std::make_unique<UnoBridge>(testOfficeOptions());
}

void OfficeSuite::TearDownTestSuite() {
    bridge_->shutdown();
    EXPECT_EQ(officeChildProcesses(), QList<qint64>{});
    bridge_.reset();
}

qint64 OfficeSuite::runningOffice() {
    QElapsedTimer timer;
    timer.start();
    const bool starting = bridge().officeProcessId() == 0;
    bridge().obtainServiceManager();
    if (starting)
        std::cout << "[ office   ] started and connected in " << timer.elapsed() << " ms\n";
    return bridge().officeProcessId();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

bool saveUnderWay(const QString& outputFolder) {
    const QDir out(outputFolder);
    for (const QString& name : out.entryList({QStringLiteral(".slatemere-save-*")},
                                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!entriesOf(out.filePath(name)).isEmpty())
            return true;
    }
    return false;
}

OfficeRef OfficeSuite::desktop() {
    return bridge().createInstance(bridge().obtainServiceManager(), kDesktopService);
}

QString officeErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const OfficeError& e) {
        return e.description();
    }
    return QStringLiteral("<no OfficeError>");
}

}  // namespace slate::testing
