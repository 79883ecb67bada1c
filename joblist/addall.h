// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

#include "joblist/addfolder.h"

namespace slate {

class Dialogs;
class ErrorReporter;
class JobList;

// Everything the "Add All ODP Files In Folder" button works with.
struct AddAllContext {
    Dialogs& dialogs;
    ErrorReporter& reporter;
    JobList& jobs;
    // Shows (true) or clears (false) the busy pointer over the window.
    std::function<void(bool busy)> setBusy;
    ProcessEvents processEvents;
    FileSystem& files;
};

inline const QString kExtensionPrompt = QStringLiteral(
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
    "files, etc.)");
inline const QString kPickFolderTitle = QStringLiteral("Please select folder:");

// The button's click: asks for an extension (remembered), then a folder (the picker opens
// where it was last time), and appends every matching file of the folder's whole tree.
void AddAllFilesInFolder(const AddAllContext& context);

}  // namespace slate
