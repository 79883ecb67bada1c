// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The "Add All ODP Files In Folder" click, by the numbers an error report gives. The steps
// from StartFolderList on also number the files of a dropped folder and of the command line.
enum class AddFolderStep {
    AskExtension = 100,
    TestExtension = 102,
    PickFolder = 104,
    TestPicked = 106,
    RememberFolder = 333,
    SaveLastFolder = 334,
    ShowBusy = 112,
    StartFolderList = 114,
    WalkFolders = 116,
    DropSeparator = 120,
    ListFiles = 122,
    TestFile = 130,
    AppendFile = 132,
    ShowDefaultPointer = 136,
};

}  // namespace slate
