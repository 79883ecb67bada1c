#include <QApplication>
#include <QDir>

#include "app/mainwindow.h"
#include "app/qtdialogs.h"
#include "common/errorpolicy.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    slate::QtDialogs dialogs;
    slate::DesktopShell shell;
    slate::SystemRandom random;
    slate::DialogErrorReporter reporter(dialogs);
    slate::MainWindow window({dialogs, shell, random, reporter,
                              QDir::toNativeSeparators(QCoreApplication::applicationDirPath())});
    dialogs.setOwner(&window);
    window.Form_Load();
    window.show();
    return app.exec();
}
