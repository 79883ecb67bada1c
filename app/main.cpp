// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QDir>

#include <cstdio>

#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "app/startpaths.h"
#include "cli/cli.h"
#include "common/errorpolicy.h"
#include "common/interaction.h"
#include "common/platform/filesystem.h"
#include "common/platform/terminationsignals.h"
#include "common/programfolder.h"
#include "joblist/joblist.h"
#if SLATE_HAVE_UNO
#include "convert/uno/unooffices.h"
#endif

int main(int argc, char* argv[]) {
    if (slate::isCommandLineInvocation(argc, argv))
        return slate::runCommandLine(argc, argv);
#if !SLATE_HAVE_UNO
    std::fputs("This build has no LibreOffice bridge (configured with SLATE_WITH_UNO=OFF).\n",
               stderr);
    return 3;
#else
    QApplication app(argc, argv);
    // Ends an office this program started when the session or a terminal ends it too.
    slate::installTerminationHandlers();
    slate::QtDialogs dialogs;
    slate::DesktopShell shell;
    slate::SystemRandom random;
    slate::DialogErrorReporter reporter(dialogs);
    // The pool owns the offices and ends them when the program ends, however it ends.
    const std::unique_ptr<slate::OfficePool> pool = slate::officesFromEnvironment();
    slate::OfficePool& offices = *pool;
    offices.grow(1);
    slate::FileSystem& files = slate::nativeFileSystem();
    slate::MainWindow window({dialogs, shell, random, reporter, offices.bridge(0), files,
                              QDir::toNativeSeparators(slate::ProgramFolder()), &offices});
    dialogs.setOwner(&window);
    window.Form_Load();
    // Files and folders named on the command line ("Open With") join the list as a drop would.
    QTextStream err(stderr);
    slate::AddStartPaths(QCoreApplication::arguments().mid(1), QDir::currentPath(),
                         window.jobList(), reporter, err, files, slate::handlePendingEvents);
    window.show();
    return app.exec();
#endif
}
