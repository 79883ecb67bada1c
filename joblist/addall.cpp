#include "joblist/addall.h"

#include "common/apptitle.h"
#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/settings.h"
#include "joblist/joblist.h"
#include "joblist/treefiles.h"

namespace slate {

void AddAllFilesInFolder(const AddAllContext& c) {
    GuardedProcedure g(c.reporter, location::kAddFolder);
    QString extension;
    g.step(100, [&] {
        extension =
            c.dialogs.inputBox(kExtensionPrompt, appTitle(), GetSetting(Setting::Extension));
        // Kept as soon as it is confirmed, even if the folder picker is then cancelled.
        if (!extension.isEmpty())
            SaveSetting(Setting::Extension, extension);
    });
    if (!g.test(102, [&] { return !extension.isEmpty(); }))
        return;

    QString lastFolder;
    QString folder;
    g.step(104, [&] {
        lastFolder = GetSetting(Setting::LastFolder);
        folder = BrowseForFolder(c.dialogs, kPickFolderTitle, lastFolder);
    });
    if (!g.test(106, [&] { return !folder.isEmpty(); }))
        return;
    g.step(333, [&] { lastFolder = folder; });
    g.step(334, [&] { SaveSetting(Setting::LastFolder, lastFolder); });

    g.step(112, [&] { c.setBusy(true); });
    AddFilesOfTree(folder,
                   {QStringLiteral("*.") + extension, c.reporter, location::kAddFolder,
                    c.processEvents, [&](const QString& path) { c.jobs.append(path); }},
                   c.files);
    g.step(136, [&] { c.setBusy(false); });
}

}  // namespace slate
