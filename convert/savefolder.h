// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "common/platform/filesystem.h"

namespace slate {

// The private folder inside the output folder that one save writes into, so that the final
// name only ever receives a finished file. The folder goes with this object, and through the
// program's late exit hooks when the program is ended first (a signal, the window closed):
// those run after the office that might still write into it has been ended. The first save
// into a folder also removes the save folders that killed programs left there.
class SaveFolder {
  public:
    SaveFolder(FileSystem& files, const QString& outputFolder);
    ~SaveFolder();
    SaveFolder(const SaveFolder&) = delete;
    SaveFolder& operator=(const SaveFolder&) = delete;

    // Empty when the folder could not be made; problem() then says why.
    const QString& path() const { return path_; }
    WriteProblem problem() const { return problem_; }

  private:
    FileSystem& files_;
    QString path_;
    WriteProblem problem_ = WriteProblem::None;
    int id_ = 0;
};

}  // namespace slate
