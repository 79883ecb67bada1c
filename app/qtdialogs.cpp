// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/qtdialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTime>
#include <QUrl>

#include <algorithm>

namespace slate {

namespace {
QString caseInsensitiveGlob(const QString& pattern) {
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString glob;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            glob += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            glob += c;
        }
    }
    return glob;
}

// The names the dialog itself writes into its file-name box for a selection in its list.
QString namesShownFor(const QFileSystemModel& model, const QModelIndexList& rows) {
    QStringList names;
    for (const QModelIndex& row : rows) {
        if (!model.isDir(row))
            names << row.data().toString();
    }
    if (names.size() > 1) {
        for (QString& name : names)
            name = QLatin1Char('"') + name + QLatin1Char('"');
    }
    return names.join(QLatin1Char(' '));
}

// Qt's dialog answers with its list's selection whenever that holds anything, and reads the
// typed names only when it is empty. While the user types, it copies each typed name into the
// selection one keystroke at a time, over a folder model that fills in the background, and
// that copy can miss a name. So unless the box shows what the list's selection puts there (the
// user picked in the list), the answer is what the box says.
class FileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        if (typedNamesDisagreeWithTheList()) {
            auto* list = findChild<QListView*>(QStringLiteral("listView"));
            list->selectionModel()->clearSelection();
        }
        QFileDialog::accept();
    }

  private:
    bool typedNamesDisagreeWithTheList() const {
        const auto* list = findChild<QListView*>(QStringLiteral("listView"));
        const auto* box = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const auto* model = list ? qobject_cast<QFileSystemModel*>(list->model()) : nullptr;
        // A full box has cut off what was typed or picked; the list then knows more.
        if (!model || !box || box->text().isEmpty() || box->text().size() >= box->maxLength())
            return false;
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        if (box->text() == namesShownFor(*model, rows))
            return false;
        // A folder picked in the list is entered, as the dialog does on its own.
        const bool folderPicked = std::any_of(
            rows.begin(), rows.end(), [&](const QModelIndex& row) { return model->isDir(row); });
        return box->hasFocus() || !folderPicked;
    }
};

}  // namespace

MsgAnswer QtDialogs::messageBox(const QString& text, const QString& caption, MsgButtons buttons,
                                MsgIcon icon) {
    QMessageBox box(
        icon == MsgIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
        toDisplayLineBreaks(text),
        buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        owner_);
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleName(caption);
    const int answer = box.exec();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& caption,
                            const QString& defaultAnswer) {
    bool ok = false;
    const QString answer = QInputDialog::getText(owner_, caption, toDisplayLineBreaks(prompt),
                                                 QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

QStringList QtDialogs::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // The pattern in the last brackets is what the dialog matches and then hides.
        filters << parts.at(i) + QStringLiteral(" (") + caseInsensitiveGlob(parts.at(i + 1)) +
                       QLatin1Char(')');
    }
    return filters;
}

QString QtDialogs::joinSelection(const QStringList& files) {
    if (files.isEmpty())
        return {};
    if (files.size() == 1)
        return QDir::toNativeSeparators(files.first());
    // The deepest folder that holds every pick; each pick is then named below it. Picks in one
    // folder give that folder and bare names. Components are compared as given, not resolved,
    // so folder + name is the very path the dialog returned.
    QList<QStringList> parts;
    for (const QString& file : files)
        parts << QDir::fromNativeSeparators(file).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    qsizetype common = parts.first().size() - 1;
    for (const QStringList& p : parts) {
        common = std::min(common, p.size() - 1);
        for (qsizetype i = 0; i < common; ++i) {
            if (p.at(i) != parts.first().at(i)) {
                common = i;
                break;
            }
        }
    }
    const bool rooted = QDir::fromNativeSeparators(files.first()).startsWith(QLatin1Char('/'));
    QString joined = (rooted ? QStringLiteral("/") : QString()) +
                     parts.first().mid(0, common).join(QLatin1Char('/'));
    for (const QStringList& p : parts)
        joined += QChar(0) + p.mid(common).join(QLatin1Char('/'));
    return QDir::toNativeSeparators(joined);
}

QString QtDialogs::openFileDialog(const OpenFileRequest& request) {
    FileDialog dialog(owner_, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(nameFilters(request.filter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString answer = joinSelection(dialog.selectedFiles());
    // The answer and its two closing NULs must fit the buffer the caller allowed.
    if (answer.size() + 2 > request.bufferChars)
        throw SelectionTooLargeError();
    return answer;
}

QString QtDialogs::browseForFolder(const QString& title, const QString& initialFolder) {
    QFileDialog dialog(owner_, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (!initialFolder.isEmpty() && QFileInfo(initialFolder).isDir()) {
        dialog.setDirectory(initialFolder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

bool DesktopShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool DesktopShell::openFolder(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

SystemRandom::SystemRandom()
    : engine_(static_cast<quint64>(QTime::currentTime().msecsSinceStartOfDay())) {}

double SystemRandom::fraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

}  // namespace slate
