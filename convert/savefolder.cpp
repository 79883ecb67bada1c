// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/savefolder.h"

#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "common/programexit.h"

namespace slate {

namespace {

// The save folders that exist right now. The exit hook runs on whichever thread ends the
// program, while the run may be creating or removing one, hence the lock.
struct OpenFolders {
    std::mutex mutex;
    std::map<int, std::pair<FileSystem*, QString>> folders;
    int nextId = 1;
    bool hooked = false;
    // The output folders already cleared of what killed runs left there.
    std::set<QString> swept;
};

OpenFolders& openFolders() {
    static OpenFolders open;
    return open;
}

void removeAllAtExit() {
    OpenFolders& open = openFolders();
    std::lock_guard lock(open.mutex);
    // Hooks run once; a program that goes on (a test) hooks in again with its next folder.
    open.hooked = false;
    for (const auto& [id, folder] : open.folders)
        folder.first->removeSaveFolder(folder.second);
    open.folders.clear();
}

}  // namespace

SaveFolder::SaveFolder(FileSystem& files, const QString& outputFolder) : files_(files) {
    OpenFolders& open = openFolders();
    bool firstInFolder = false;
    {
        std::lock_guard lock(open.mutex);
        firstInFolder = open.swept.insert(outputFolder).second;
    }
    // A program killed mid-save (out of memory, a cluster's time limit) never ran its exit
    // hooks; the first save into a folder clears what such programs left there.
    if (firstInFolder)
        files_.removeAbandonedSaveFolders(outputFolder);
    std::lock_guard lock(open.mutex);
    if (!open.hooked) {
        program::addLateExitHook(removeAllAtExit);
        open.hooked = true;
    }
    path_ = files_.createSaveFolder(outputFolder, &problem_);
    if (path_.isEmpty()) {
        if (problem_ == WriteProblem::None)
            problem_ = WriteProblem::Unknown;
        return;
    }
    id_ = open.nextId++;
    open.folders.emplace(id_, std::make_pair(&files_, path_));
}

SaveFolder::~SaveFolder() {
    if (path_.isEmpty())
        return;
    OpenFolders& open = openFolders();
    std::lock_guard lock(open.mutex);
    if (open.folders.erase(id_) > 0)
        files_.removeSaveFolder(path_);
}

}  // namespace slate
