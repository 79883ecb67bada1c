// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <random>

#include "common/interaction.h"

namespace slate {

// The real dialogs, owned by the main window (set once it exists).
class QtDialogs : public Dialogs {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }

    MsgAnswer messageBox(const QString& text, const QString& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    QString inputBox(const QString& prompt, const QString& caption,
                     const QString& defaultAnswer) override;
    QString openFileDialog(const OpenFileRequest& request) override;
    QString browseForFolder(const QString& title, const QString& initialFolder) override;

    // "Desc|pattern|Desc|pattern" as file-dialog name filters that match the way users of the
    // original dialog expect: case-insensitively, and "*.*" for every file, dot or not.
    static QStringList nameFilters(const QString& filter);
    // The dialog's answer in the one-string form: a single path, or folder NUL name NUL name,
    // where picks in several folders are named relative to the deepest folder holding them all.
    static QString joinSelection(const QStringList& files);

  private:
    QPointer<QWidget> owner_;
};

class DesktopShell : public Shell {
  public:
    bool openUrl(const QString& url) override;
    bool openFolder(const QString& path) override;
};

// Seeded from the time of day.
class SystemRandom : public Random {
  public:
    SystemRandom();
    double fraction() override;

  private:
    std::mt19937_64 engine_;
};

}  // namespace slate
