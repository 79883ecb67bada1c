// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/runreport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <algorithm>
#include <cstdio>

namespace slate {

QString statusName(FileReport::Status status) {
    switch (status) {
        case FileReport::Status::Converted:
            return QStringLiteral("converted");
        case FileReport::Status::Failed:
            return QStringLiteral("failed");
        case FileReport::Status::UpToDate:
            return QStringLiteral("up-to-date");
        case FileReport::Status::Skipped:
            return QStringLiteral("skipped");
    }
    return {};
}

namespace {

// Where the text of `file` ends after its last whole line: a run killed in the middle of a
// write (the system may stop a write between two pages) leaves the start of a line behind,
// which the next run's lines must not be glued to.
qint64 endOfLastLine(QFile& file) {
    constexpr qint64 kChunk = 4096;
    for (qint64 end = file.size(); end > 0;) {
        const qint64 from = std::max<qint64>(end - kChunk, 0);
        if (!file.seek(from))
            return -1;
        const QByteArray chunk = file.read(end - from);
        const qsizetype newline = chunk.lastIndexOf('\n');
        if (newline >= 0)
            return from + newline + 1;
        end = from;
    }
    return 0;
}

}  // namespace

bool RunReport::open(const QString& path, QString* why) {
    host_ = QSysInfo::machineHostName();
    // Unbuffered: every line is one write of its own, never split where a buffer fills;
    // appending keeps what an earlier run wrote.
    if (path == QLatin1String("-")) {
        if (file_.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return true;
    } else {
        file_.setFileName(path);
        if (file_.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
            const qint64 whole = endOfLastLine(file_);
            if (whole >= 0 && (whole == file_.size() || file_.resize(whole)))
                return true;
        }
    }
    if (why)
        *why = file_.errorString();
    file_.close();
    return false;
}

bool RunReport::write(const FileReport& report) {
    if (!file_.isOpen())
        return false;
    const QByteArray text = line(report, host_);
    return file_.write(text) == text.size();
}

QByteArray RunReport::line(const FileReport& report, const QString& host) {
    QJsonObject object{{QStringLiteral("source"), report.source},
                       {QStringLiteral("target"), report.target},
                       {QStringLiteral("status"), statusName(report.status)},
                       {QStringLiteral("seconds"), qRound(report.seconds * 1000) / 1000.0},
                       {QStringLiteral("host"), host}};
    if (!report.cause.isEmpty())
        object.insert(QStringLiteral("cause"), report.cause);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace slate
