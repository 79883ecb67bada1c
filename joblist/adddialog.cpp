// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/adddialog.h"

#include <QStringList>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "joblist/addfilessteps.h"
#include "joblist/joblist.h"

namespace slate {

namespace {
const QString kTitle = QStringLiteral("Add File(s) - Hold Ctrl to select multiple files");
const QString kFilter = QStringLiteral("Calc Spreadsheets (*.odp)|*.odp|All Files (*.*)|*.*");
const QString kTooManyFiles = QStringLiteral(
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.");
constexpr int kBufferChars = 30000;
}  // namespace

void AddFilesByDialog(Dialogs& dialogs, ErrorReporter& reporter, JobList& list, QChar separator) {
    GuardedProcedure g(reporter, location::kAddFiles);
    OpenFileRequest request;
    request.bufferChars = kBufferChars;
    QString fileName;

    g.step(AddFilesStep::ClearFileName, [&] { fileName.clear(); });
    g.step(AddFilesStep::AllowMultiSelect, [&] { request.multiSelect = true; });
    g.step(AddFilesStep::SetTitle, [&] { request.title = kTitle; });
    g.step(AddFilesStep::SetFilter, [&] { request.filter = kFilter; });
    bool tooMany = false;
    g.step(AddFilesStep::ShowDialog, [&] {
        try {
            fileName = dialogs.openFileDialog(request);
        } catch (const SelectionTooLargeError&) {
            tooMany = true;
            dialogs.message(kTooManyFiles, MsgButtons::Ok, MsgIcon::None);
        }
    });
    if (tooMany)
        return;
    if (g.test(AddFilesStep::TestCancelled, [&] { return fileName.isEmpty(); }))
        return;

    QStringList parts;
    g.step(AddFilesStep::SplitAnswer, [&] { parts = fileName.split(QChar(0)); });
    const qsizetype upper = parts.size() - 1;
    if (g.test(AddFilesStep::TestSingleFile, [&] { return upper == 0; })) {
        // One file: its full path exactly as the dialog gave it.
        g.step(AddFilesStep::AppendSingleFile, [&] { list.append(parts.value(0)); });
        return;
    }
    if (g.test(AddFilesStep::TestNoNames, [&] { return upper <= 0; }))
        return;

    for (qsizetype i = 1; i <= upper; ++i) {
        // An empty name (a trailing separator in the answer) names no file, only the folder.
        if (parts.at(i).isEmpty())
            continue;
        QString path;
        g.step(AddFilesStep::ComposePath, [&] { path = parts.at(0) + separator + parts.at(i); });
        // A folder that is a root already ends in the separator.
        g.step(AddFilesStep::CleanPath, [&] { path = FixBackslashes(path, separator); });
        g.step(AddFilesStep::AppendFile, [&] { list.append(path); });
    }
}

}  // namespace slate
