#include "app/qtdialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>
#include <QUrl>

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
    QString joined = QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath());
    for (const QString& file : files)
        joined += QChar(0) + QFileInfo(file).fileName();
    return joined;
}

QString QtDialogs::openFileDialog(const OpenFileRequest& request) {
    QFileDialog dialog(owner_, request.title);
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
