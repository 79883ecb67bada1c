// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/addall.h"

#include "common/apptitle.h"
#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/settings.h"
#include "joblist/addfoldersteps.h"
#include "joblist/joblist.h"
#include "joblist/treefiles.h"

namespace slate {

void AddAllFilesInFolder(const AddAllContext& c) {
    GuardedProcedure g(c.reporter, location::kAddFolder);
    QString extension;
    g.step(AddFolderStep::AskExtension, [&] {
        extension =
            c.dialogs.inputBox(kExtensionPrompt, appTitle(), GetSetting(Setting::Extension));
        // Kept as soon as it is confirmed, even if the folder picker is then cancelled.
        if (!extension.isEmpty())
            SaveSetting(Setting::Extension, extension);
    });
    if (!g.test(AddFolderStep::TestExtension, [&] { return !extension.isEmpty(); }))
        return;

    QString lastFolder;
    QString folder;
    g.step(AddFolderStep::PickFolder, [&] {
        lastFolder = GetSetting(Setting::LastFolder);
        folder = BrowseForFolder(c.dialogs, kPickFolderTitle, lastFolder);
    });
    if (!g.test(AddFolderStep::TestPicked, [&] { return !folder.isEmpty(); }))
        return;
    g.step(AddFolderStep::RememberFolder, [&] { lastFolder = folder; });
    g.step(AddFolderStep::SaveLastFolder, [&] { SaveSetting(Setting::LastFolder, lastFolder); });

    g.step(AddFolderStep::ShowBusy, [&] { c.setBusy(true); });
    AddFilesOfTree(folder,
                   {QStringLiteral("*.") + extension, c.reporter, location::kAddFolder,
                    c.processEvents, [&](const QString& path) { c.jobs.append(path); }},
                   c.files);
    g.step(AddFolderStep::ShowDefaultPointer, [&] { c.setBusy(false); });
}

}  // namespace slate
