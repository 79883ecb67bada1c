// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/lines.h"
#include "convert/runview.h"

// The command line's view of the run: the same interfaces the window implements, printing
// lines instead of showing controls and boxes.
namespace slate {

// The output options as the command line set them; between files it lets queued events run.
class ConsoleRunView : public FixedRunView {
  public:
    using FixedRunView::FixedRunView;
    void processPendingEvents() override;
};

// Message boxes become lines: the texts listed as results go to standard output (and are
// left out when quiet), every other message to standard error. Questions get the answer of
// a cancelled dialog: the command line never waits for a person.
class ConsoleDialogs : public Dialogs {
  public:
    ConsoleDialogs(QTextStream& out, QTextStream& err, QStringList resultTexts, bool quiet)
        : out_(out), err_(err), resultTexts_(std::move(resultTexts)), quiet_(quiet) {}

    MsgAnswer messageBox(const QString& text, const QString& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileDialog(const OpenFileRequest&) override { return {}; }
    QString browseForFolder(const QString&, const QString&) override { return {}; }

  private:
    QTextStream& out_;
    QTextStream& err_;
    QStringList resultTexts_;
    bool quiet_;
};

// Why a path given on the command line is refused before anything is read.
inline const QString kUndecodableName =
    QStringLiteral("the name is not valid UTF-8, so it cannot be opened");

// One line on standard error in the shell's usual form: "slatemere-converter: SUBJECT: TEXT"
// (or without the subject).
void writeProblem(QTextStream& err, const QString& subject, const QString& text);

// The error reports of the command line, on standard error, counted. In full detail each
// report's whole text is printed as it comes. Otherwise a failed file gives one line, its
// first failure, when the file is finished; a failure outside a file gives one line at once.
class ConsoleErrorReporter : public ErrorReporter {
  public:
    explicit ConsoleErrorReporter(QTextStream& err, bool fullDetail = true)
        : err_(err), fullDetail_(fullDetail) {}
    void report(const QString& description, const QString& location, int step) override;
    // Ends one file of the run: prints the line of its first failure, if it had one (in full
    // detail that was printed already), and returns that line; empty when none failed.
    QString fileFinished(const QString& source);
    int count() const { return count_; }

  private:
    QTextStream& err_;
    bool fullDetail_;
    int count_ = 0;
    QString firstFailure_;
};

}  // namespace slate
