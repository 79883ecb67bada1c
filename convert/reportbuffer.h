// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

#include "common/errorpolicy.h"

namespace slate {

// A file's error reports, kept until the file ends and they can be shown in the run's order.
class ReportBuffer : public ErrorReporter {
  public:
    struct Report {
        QString description;
        QString location;
        int step = 0;
    };
    void report(const QString& description, const QString& location, int step) override {
        reports.append({description, location, step});
    }
    // Hands the reports on, in the order they were made.
    static void replay(const QList<Report>& reports, ErrorReporter& to) {
        for (const Report& r : reports)
            to.report(r.description, r.location, r.step);
    }
    QList<Report> reports;
};

}  // namespace slate
