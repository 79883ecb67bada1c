// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace slate {

// What became of one file of a run, as the report tells it.
struct FileReport {
    enum class Status { Converted, Failed, UpToDate, Skipped };
    QString source;
    QString target;
    Status status = Status::Converted;
    QString cause;  // why it failed or was skipped; empty when there is none
    double seconds = 0;
};

QString statusName(FileReport::Status status);

// One JSON object per line, for scripts: source, target, status, cause (when there is one),
// seconds and host. Each line goes out in one write as its file ends, so a run killed at any
// moment leaves every file it finished on record in whole lines. The one thing a kill can cut
// is the line being written when it lands (Linux may stop a write where it crosses a page);
// the next run on the file drops that piece before it appends. The reports of several tasks
// can simply be joined.
class RunReport {
  public:
    // Appends to `path`, or writes to standard output for "-". False, with the reason, when
    // the file cannot be opened.
    bool open(const QString& path, QString* why);
    bool isOpen() const { return file_.isOpen(); }
    // False when the line could not be written whole.
    bool write(const FileReport& report);

    // The line for one file, its newline included.
    static QByteArray line(const FileReport& report, const QString& host);

  private:
    QFile file_;
    QString host_;
};

}  // namespace slate
