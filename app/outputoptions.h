// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

#include <exception>

#include "common/settings.h"
#include "convert/runview.h"

class QAbstractButton;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace slate {

class Dialogs;
class ErrorReporter;
class FileSystem;
class GuardedProcedure;

// The folder that the output folder's text names, as an absolute path: "~" and "~/..." start at
// `home`, an absolute path stays as typed, and anything else (a relative path, "~name", empty text)
// names no folder, so empty text comes back.
QString absoluteOutputFolder(const QString& text, const QString& home);

// The "Save Option" group: all results into the folder typed or picked, or each beside its
// source. Every change is written to the settings store at once (under the controls' names);
// the batch run asks for the choice when it needs it. The controller connects the controls'
// signals itself.
class OutputOptions : public QObject {
    Q_OBJECT
  public:
    OutputOptions(QRadioButton* intoFolder, QRadioButton* besideSource, QWidget* folderBox,
                  QLineEdit* folderText, QAbstractButton* pickFolder, Dialogs& dialogs,
                  ErrorReporter& reporter, FileSystem& files, QObject* parent = nullptr);

    // The start-up's restore: the folder text, then each option, then whether the folder can be
    // edited, each from the store and each through the handlers below.
    void restore(GuardedProcedure& g);

    // An option became selected, by the user or from code: stores both and enables the folder
    // box exactly while results go into the folder.
    void Option_Click();
    // Stores the folder box's whole text on every change.
    void Text1_Change();
    // "...": picks the output folder.
    void PushButton3_Click();

    // The folder the run checks and saves into: the folder text made absolute against the home
    // folder; empty when the text names no folder.
    QString outputFolder() const;
    // The selected option with that folder.
    OutputChoice choice() const;

  private:
    // Writes a setting for a handler that has no error report of its own.
    void save(Setting key, const QString& value);
    // Runs a change whose handlers write settings; a failed write becomes this step's failure.
    template <class Change>
    void changeInStep(Change&& change);
    static void setSelected(QRadioButton* button, bool selected);

    QRadioButton* intoFolder_;
    QRadioButton* besideSource_;
    QWidget* folderBox_;
    QLineEdit* folderText_;
    Dialogs& dialogs_;
    ErrorReporter& reporter_;
    FileSystem& files_;

    QString lastFolder_;
    // Set while a guarded step changes a control: the handler's failure is kept here.
    std::exception_ptr* pendingFailure_ = nullptr;
    // A failing store would otherwise show a box on every keystroke.
    bool failureShown_ = false;
    // Tells a click that selected its button (already handled) from a click on the selected one.
    bool toggledInClick_ = false;
};

}  // namespace slate
