// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "convert/runreport.h"

namespace slate {
namespace {

QJsonObject parsed(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.left(200).toStdString();
    return document.object();
}

TEST(RunReportTest, OneObjectPerLineWithTheCauseOnlyWhereThereIsOne) {
    const QByteArray converted = RunReport::line({QStringLiteral("/a/b.odp"),
                                                  QStringLiteral("/a/b.ppt"),
                                                  FileReport::Status::Converted,
                                                  {},
                                                  1.23456},
                                                 QStringLiteral("node1"));
    ASSERT_TRUE(converted.endsWith('\n'));
    EXPECT_EQ(converted.count('\n'), 1);
    const QJsonObject c = parsed(converted);
    EXPECT_EQ(c.value(QLatin1String("status")).toString(), QStringLiteral("converted"));
    EXPECT_EQ(c.value(QLatin1String("seconds")).toDouble(), 1.235);
    EXPECT_EQ(c.value(QLatin1String("host")).toString(), QStringLiteral("node1"));
    EXPECT_FALSE(c.contains(QLatin1String("cause")));

    const QJsonObject f = parsed(RunReport::line(
        {{}, {}, FileReport::Status::Failed, QStringLiteral("The office could not open it."), 0},
        QStringLiteral("n")));
    EXPECT_EQ(f.value(QLatin1String("status")).toString(), QStringLiteral("failed"));
    EXPECT_EQ(f.value(QLatin1String("cause")).toString(),
              QStringLiteral("The office could not open it."));
    EXPECT_EQ(statusName(FileReport::Status::UpToDate), QStringLiteral("up-to-date"));
    EXPECT_EQ(statusName(FileReport::Status::Skipped), QStringLiteral("skipped"));
}

TEST(RunReportTest, AppendsAndAKilledWriterLeavesOnlyWholeLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.jsonl"));
    {
        RunReport earlier;
        ASSERT_TRUE(earlier.open(path, nullptr));
        ASSERT_TRUE(earlier.write({QStringLiteral("first"), {}, FileReport::Status::Converted}));
        // On disk as soon as the file ends, not when a buffer fills or the run ends.
        QFile reader(path);
        ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
        EXPECT_TRUE(reader.readAll().endsWith("}\n"));
    }
    // Lines longer than a small write buffer, written as fast as they can be.
    const QString longName = QStringLiteral("/deep/") + QString(3000, QLatin1Char('n'));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RunReport report;
        if (!report.open(path, nullptr))
            _exit(3);
        for (int i = 0;; ++i)
            report.write({longName + QString::number(i),
                          {},
                          FileReport::Status::Failed,
                          QStringLiteral("cause"),
                          0.5});
    }
    QElapsedTimer clock;
    clock.start();
    while (QFile(path).size() < (4 << 20) && clock.elapsed() < 10000)
        QThread::msleep(1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    // Every line is whole but perhaps the last: the system may stop a write that the kill
    // lands in where it crosses a page.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> killed = file.readAll().split('\n');
    file.close();
    killed.removeLast();
    ASSERT_GT(killed.size(), 10);
    for (const QByteArray& line : killed)
        EXPECT_TRUE(parsed(line).contains(QLatin1String("status")));

    // The next run drops a cut line before it appends.
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("{\"source\":\"cut");
    file.close();
    {
        RunReport resumed;
        ASSERT_TRUE(resumed.open(path, nullptr));
        ASSERT_TRUE(resumed.write({QStringLiteral("last"), {}, FileReport::Status::UpToDate}));
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast();
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(parsed(lines.first()).value(QLatin1String("source")).toString(),
              QStringLiteral("first"));
    for (const QByteArray& line : lines)
        EXPECT_TRUE(parsed(line).contains(QLatin1String("status")));
    EXPECT_EQ(parsed(lines.last()).value(QLatin1String("source")).toString(),
              QStringLiteral("last"));
}

}  // namespace
}  // namespace slate
