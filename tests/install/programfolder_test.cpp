// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "common/settings.h"
#include "joblist/samples.h"

// The program, started through each of the ways a user may reach it, finds its own files
// beside the real program: the sample record made at its first start names that folder.
namespace slate {
namespace {

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}
QString buildFolder() {
    return canonical(qEnvironmentVariable("SLATE_TEST_BIN_DIR"));
}
QString installRoot() {
    return qEnvironmentVariable("SLATE_TEST_INSTALL_ROOT");
}

struct Launch {
    const char* name;
    // The command to start, made inside a scratch folder when it needs one.
    QString (*launcher)(const QDir& scratch);
    QString (*programFolder)();
};

const Launch kLaunches[] = {
    {"FromTheBuild",
     [](const QDir&) { return buildFolder() + QStringLiteral("/slatemere-converter"); },
     buildFolder},
    {"ThroughALinkToTheBuild",
     [](const QDir& scratch) {
         const QString link = scratch.filePath(QStringLiteral("slatemere-converter"));
         EXPECT_TRUE(QFile::link(buildFolder() + QStringLiteral("/slatemere-converter"), link));
         return link;
     },
     buildFolder},
    {"InstalledLauncher",
     [](const QDir&) { return installRoot() + QStringLiteral("/bin/slatemere-converter"); },
     [] { return canonical(installRoot() + QStringLiteral("/lib/slatemere-converter")); }},
};

class FirstStart : public ::testing::TestWithParam<Launch> {};

TEST_P(FirstStart, RecordsTheSamplesBesideTheRealProgram) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QDir scratch(home.path());
    const QString launcher = GetParam().launcher(scratch);
    const QString folder = GetParam().programFolder();
    ASSERT_FALSE(folder.isEmpty()) << "no program folder for " << launcher.toStdString();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), scratch.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), scratch.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Nothing listens there: the window never gets past its office check, which comes after
    // the record is made.
    env.insert(QStringLiteral("SLATEMERE_OFFICE_URL"),
               QStringLiteral("socket,host=127.0.0.1,port=9;urp;"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home.path());
    program.start(launcher, {});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    ScopedSettingsFile settings(
        scratch.filePath(QStringLiteral("config/Harnwick/Slatemere Converter.conf")));
    QString snapshot;
    for (QDeadlineTimer deadline(60000); snapshot.isEmpty() && !deadline.hasExpired();) {
        QThread::msleep(100);
        snapshot = GetSetting(Setting::Snapshot);
        if (program.state() == QProcess::NotRunning)
            break;
    }
    program.kill();
    program.waitForFinished(10000);

    QStringList expected;
    for (const QString& name :
         QDir(folder + QStringLiteral("/Samples")).entryList(QDir::Files, QDir::Name))
        expected << folder + QStringLiteral("/Samples/") + name;
    ASSERT_FALSE(expected.isEmpty());
    QStringList recorded = UnscrambleText(snapshot, kSampleKey).split(QLatin1Char('|'));
    recorded.sort();
    EXPECT_EQ(recorded, expected)
        << QString::fromUtf8(program.readAllStandardError()).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Launchers, FirstStart, ::testing::ValuesIn(kLaunches),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate
