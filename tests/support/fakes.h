// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QStringList>

#include "common/interaction.h"

namespace slate::testing {

// Records what would have left the program.
class RecordingShell : public Shell {
  public:
    QStringList openedUrls;
    QStringList openedFolders;
    bool openUrl(const QString& url) override {
        openedUrls << url;
        return true;
    }
    bool openFolder(const QString& path) override {
        openedFolders << path;
        return true;
    }
};

// Hands out the scripted draws in order, then repeats the last one.
class ScriptedRandom : public Random {
  public:
    QList<double> draws{0.5};
    double fraction() override {
        const double d = draws.value(next_, draws.isEmpty() ? 0.5 : draws.last());
        ++next_;
        return d;
    }

  private:
    int next_ = 0;
};

}  // namespace slate::testing
