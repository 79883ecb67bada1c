// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/outputoptions.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

#include <optional>
#include <utility>

#include "app/pickoutputsteps.h"
#include "app/startupsteps.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/specialfolders.h"
#include "joblist/addall.h"

namespace slate {

namespace {

QString word(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
}  // namespace

QString absoluteOutputFolder(const QString& text, const QString& home) {
    if (text.startsWith(kNativeSeparator))
        return text;
    const QChar tilde = QLatin1Char('~');
    const bool fromHome =
        text == tilde || (text.startsWith(tilde) && text.at(1) == kNativeSeparator);
    // The working folder of a program started from a menu is nothing the user chose, so a
    // relative text is not resolved against it.
    if (!fromHome || home.isEmpty())
        return {};
    QString base = home;
    while (base.size() > 1 && base.endsWith(kNativeSeparator))
        base.chop(1);
    if (text.size() == 1)
        return base;
    return base == QString(kNativeSeparator) ? text.mid(1) : base + text.mid(1);
}

OutputOptions::OutputOptions(QRadioButton* intoFolder, QRadioButton* besideSource,
                             QWidget* folderBox, QLineEdit* folderText, QAbstractButton* pickFolder,
                             Dialogs& dialogs, ErrorReporter& reporter, FileSystem& files,
                             QObject* parent)
    : QObject(parent),
      intoFolder_(intoFolder),
      besideSource_(besideSource),
      folderBox_(folderBox),
      folderText_(folderText),
      dialogs_(dialogs),
      reporter_(reporter),
      files_(files) {
    for (QRadioButton* option : {intoFolder_, besideSource_}) {
        // A click that selects its button runs the handler through toggled; a click on the
        // button already selected only through clicked. A cleared button runs nothing.
        connect(option, &QAbstractButton::pressed, this, [this] { toggledInClick_ = false; });
        connect(option, &QAbstractButton::toggled, this, [this](bool checked) {
            if (!checked)
                return;
            toggledInClick_ = true;
            Option_Click();
        });
        connect(option, &QAbstractButton::clicked, this, [this] {
            if (!std::exchange(toggledInClick_, false))
                Option_Click();
        });
    }
    connect(folderText_, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(pickFolder, &QAbstractButton::clicked, this, [this] { PushButton3_Click(); });
}

void OutputOptions::Option_Click() {
    save(Setting::Option1, word(intoFolder_->isChecked()));
    save(Setting::Option2, word(besideSource_->isChecked()));
    folderBox_->setEnabled(intoFolder_->isChecked());
}

QString OutputOptions::outputFolder() const {
    return absoluteOutputFolder(folderText_->text(), QDir::homePath());
}

OutputChoice OutputOptions::choice() const {
    OutputChoice choice;
    if (intoFolder_->isChecked())
        choice.place = OutputChoice::Place::IntoFolder;
    else if (besideSource_->isChecked())
        choice.place = OutputChoice::Place::BesideSource;
    // The check before the run and every save use the same absolute folder.
    choice.folder = outputFolder();
    return choice;
}

void OutputOptions::Text1_Change() {
    save(Setting::Text1, folderText_->text());
}

void OutputOptions::save(Setting key, const QString& value) {
    try {
        SaveSetting(key, value);
        failureShown_ = false;
    } catch (...) {
        if (pendingFailure_) {
            if (!*pendingFailure_)
                *pendingFailure_ = std::current_exception();
            return;
        }
        // The control keeps the user's choice; the next change tries the store again.
        if (std::exchange(failureShown_, true))
            return;
        dialogs_.message(describeException(std::current_exception()), MsgButtons::Ok,
                         MsgIcon::Warning);
    }
}

template <class Change>
void OutputOptions::changeInStep(Change&& change) {
    std::exception_ptr failure;
    std::exception_ptr* const outer = std::exchange(pendingFailure_, &failure);
    struct Restore {
        std::exception_ptr*& slot;
        std::exception_ptr* value;
        ~Restore() { slot = value; }
    } restore{pendingFailure_, outer};
    std::forward<Change>(change)();
    if (failure)
        std::rethrow_exception(failure);
}

void OutputOptions::setSelected(QRadioButton* button, bool selected) {
    if (button->isChecked() == selected)
        return;
    if (selected) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never lets go of its selected button; the store may ask for neither.
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (groupExclusive)
        group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(autoExclusive);
    if (groupExclusive)
        group->setExclusive(true);
}

void OutputOptions::restore(GuardedProcedure& g) {
    g.step(StartupStep::RestoreOutputFolder, [&] {
        // The Desktop is looked up only when needed: a stored folder must not fail with it.
        const std::optional<QString> stored = ReadSetting(Setting::Text1);
        const QString text = stored ? *stored : GetDesktopFolder(files_);
        changeInStep([&] { folderText_->setText(text); });
    });
    g.step(StartupStep::RestoreIntoFolderOption, [&] {
        const bool selected = GetBooleanSetting(Setting::Option1);
        changeInStep([&] { setSelected(intoFolder_, selected); });
    });
    g.step(StartupStep::RestoreBesideSourceOption, [&] {
        const bool selected = GetBooleanSetting(Setting::Option2);
        changeInStep([&] { setSelected(besideSource_, selected); });
    });
    if (g.test(StartupStep::TestIntoFolder, [&] { return intoFolder_->isChecked(); }))
        g.step(StartupStep::EnableFolderBox, [&] { folderBox_->setEnabled(true); });
    else
        g.step(StartupStep::DisableFolderBox, [&] { folderBox_->setEnabled(false); });
}

void OutputOptions::PushButton3_Click() {
    GuardedProcedure g(reporter_, location::kPickOutput);
    QString picked;
    g.step(PickOutputStep::LoadLastFolder,
           [&] { lastFolder_ = GetSetting(Setting::LastFolderDot); });
    g.step(PickOutputStep::OpenPicker,
           [&] { picked = dialogs_.browseForFolder(kPickFolderTitle, lastFolder_); });
    if (g.test(PickOutputStep::TestCancelled, [&] { return picked.isEmpty(); }))
        return;

    g.step(PickOutputStep::RememberFolder, [&] { lastFolder_ = picked; });
    g.step(PickOutputStep::SaveLastFolder, [&] { SaveSetting(Setting::LastFolderDot, picked); });
    // A root already ends in the separator and must not show it twice.
    if (g.test(PickOutputStep::TestTrailingSeparator,
               [&] { return !picked.endsWith(kNativeSeparator); })) {
        g.step(PickOutputStep::ShowWithSeparator,
               [&] { changeInStep([&] { folderText_->setText(picked + kNativeSeparator); }); });
        return;
    }
    g.step(PickOutputStep::ShowAsPicked,
           [&] { changeInStep([&] { folderText_->setText(picked); }); });
}

}  // namespace slate
