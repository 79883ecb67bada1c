// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "cli/console.h"

#include <QCoreApplication>

#include <utility>

#include "common/errorlocations.h"
#include "common/paths.h"
#include "common/product.h"
#include "convert/convertsteps.h"

namespace slate {

void ConsoleRunView::processPendingEvents() {
    handlePendingEvents();
}

MsgAnswer ConsoleDialogs::messageBox(const QString& text, const QString&, MsgButtons buttons,
                                     MsgIcon icon) {
    const bool result = icon == MsgIcon::None && resultTexts_.contains(text);
    if (!result)
        writeLine(err_, toDisplayLineBreaks(text));
    else if (!quiet_)
        writeLine(out_, toDisplayLineBreaks(text));
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
}

namespace {

// A failure of one file of the batch run, rather than of the run itself.
bool belongsToFile(const QString& location, int step) {
    return location == location::kConvert && isFileStep(step);
}

// A description may span lines; the command line gives each failure one.
QString oneLine(const QString& text) {
    QStringList parts = toDisplayLineBreaks(text).split(QLatin1Char('\n'));
    for (QString& part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

}  // namespace

void writeProblem(QTextStream& err, const QString& subject, const QString& text) {
    writeLine(
        err,
        subject.isEmpty()
            ? QStringLiteral("%1: %2").arg(product::kCommandName, text)
            : QStringLiteral("%1: %2: %3").arg(product::kCommandName, shownName(subject), text));
}

void ConsoleErrorReporter::report(const QString& description, const QString& location, int step) {
    ++count_;
    const bool ofFile = belongsToFile(location, step);
    if (fullDetail_) {
        // An empty line keeps one report apart from the next.
        writeLine(err_, toDisplayLineBreaks(errorReportText(description, location, step)) +
                            QLatin1Char('\n'));
    } else if (!ofFile) {
        writeProblem(err_, QString(), oneLine(description));
    }
    if (ofFile && firstFailure_.isEmpty()) {
        // The later steps of a failed file mostly fail because of the first failure.
        firstFailure_ = oneLine(description);
        if (firstFailure_.isEmpty())
            firstFailure_ = QStringLiteral("failed");
    }
}

QString ConsoleErrorReporter::fileFinished(const QString& source) {
    const QString failure = std::exchange(firstFailure_, QString());
    if (!failure.isEmpty() && !fullDetail_)
        writeProblem(err_, source, failure);
    return failure;
}

}  // namespace slate
