// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>

#include "common/errorpolicy.h"
#include "common/interaction.h"

namespace slate::testing {

// Dialogs answered from a script, recording what was shown. An unscripted question gets the
// quiet answer (OK/No, empty text) so a forgotten script shows up as a failed expectation.
class ScriptedDialogs : public Dialogs {
  public:
    struct Shown {
        QString kind;  // "message", "input", "open", "folder"
        QString text;  // message text, prompt, dialog title
        QString caption;
        MsgButtons buttons = MsgButtons::Ok;
        MsgIcon icon = MsgIcon::None;
        QString defaultAnswer;  // input default, folder picker's initial folder
        OpenFileRequest request;
    };

    QQueue<MsgAnswer> messageAnswers;
    QQueue<QString> inputAnswers;
    // Each answer is a function so a test can also throw SelectionTooLargeError.
    QQueue<std::function<QString(const OpenFileRequest&)>> openAnswers;
    QQueue<QString> folderAnswers;
    // Runs while a message box is "open", e.g. to act as the user would at that moment.
    std::function<void(const Shown&)> onShow;

    QList<Shown> shown;

    MsgAnswer messageBox(const QString& text, const QString& caption, MsgButtons buttons,
                         MsgIcon icon) override {
        Shown s{QStringLiteral("message"), text, caption, buttons, icon, {}, {}};
        record(s);
        if (!messageAnswers.isEmpty())
            return messageAnswers.dequeue();
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    QString inputBox(const QString& prompt, const QString& caption,
                     const QString& defaultAnswer) override {
        record({QStringLiteral("input"),
                prompt,
                caption,
                MsgButtons::Ok,
                MsgIcon::None,
                defaultAnswer,
                {}});
        return inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
    }
    QString openFileDialog(const OpenFileRequest& request) override {
        record({QStringLiteral("open"),
                request.title,
                {},
                MsgButtons::Ok,
                MsgIcon::None,
                {},
                request});
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue()(request);
    }
    QString browseForFolder(const QString& title, const QString& initialFolder) override {
        record({QStringLiteral("folder"),
                title,
                {},
                MsgButtons::Ok,
                MsgIcon::None,
                initialFolder,
                {}});
        return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
    }

    QStringList messageTexts() const {
        QStringList out;
        for (const Shown& s : shown) {
            if (s.kind == QLatin1String("message"))
                out << s.text;
        }
        return out;
    }

  private:
    void record(const Shown& s) {
        shown.append(s);
        if (onShow)
            onShow(s);
    }
};

// Records error reports instead of showing them.
class RecordingReporter : public ErrorReporter {
  public:
    struct Report {
        QString description;
        QString location;
        int step = 0;
    };
    QList<Report> reports;
    std::function<void(const Report&)> onReport;

    void report(const QString& description, const QString& location, int step) override {
        reports.append({description, location, step});
        if (onReport)
            onReport(reports.back());
    }
    QList<int> steps() const {
        QList<int> out;
        for (const Report& r : reports)
            out << r.step;
        return out;
    }
};

}  // namespace slate::testing
