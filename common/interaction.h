// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <stdexcept>

// Everything modal, and everything that leaves the program, goes through these small
// interfaces so that every handler can run offscreen with scripted answers.
namespace slate {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Warning };
enum class MsgAnswer { Ok, Yes, No };

// What the open-file dialog is asked to show.
struct OpenFileRequest {
    QString title;
    // Description|pattern pairs joined by "|", the first pair selected.
    QString filter;
    bool multiSelect = true;
    // Room for the whole answer, in characters; a larger selection fails.
    int bufferChars = 30000;
};

// Thrown by the open-file dialog when the picked names do not fit its buffer.
class SelectionTooLargeError : public std::runtime_error {
  public:
    SelectionTooLargeError() : std::runtime_error("The selection is too large for the dialog.") {}
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    virtual MsgAnswer messageBox(const QString& text, const QString& caption, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    // The typed text, or empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& caption,
                             const QString& defaultAnswer) = 0;
    // Empty when cancelled; one full path for a single pick; for several picks the folder,
    // then each name, all separated by NUL characters.
    virtual QString openFileDialog(const OpenFileRequest& request) = 0;
    // The chosen folder, or empty text when cancelled.
    virtual QString browseForFolder(const QString& title, const QString& initialFolder) = 0;

    // A message box captioned with the application title.
    MsgAnswer message(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None);
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Results are not examined by callers; false only says the desktop refused.
    virtual bool openUrl(const QString& url) = 0;
    virtual bool openFolder(const QString& path) = 0;
};

class Random {
  public:
    virtual ~Random() = default;
    // A uniform draw from [0, 1).
    virtual double fraction() = 0;
};

// Lets the program handle its pending events once (repaint, clicks, typing) during long work.
void handlePendingEvents();

// Message texts keep their CR LF and bare CR characters; screens and consoles want "\n".
QString toDisplayLineBreaks(const QString& text);

}  // namespace slate
