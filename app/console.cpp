#include "app/console.h"

#include <QCoreApplication>

namespace slate {

void writeLine(QTextStream& stream, const QString& text) {
    stream << text << '\n';
    stream.flush();
}

void ConsoleRunView::processPendingEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

MsgAnswer ConsoleDialogs::messageBox(const QString& text, const QString&, MsgButtons buttons,
                                     MsgIcon icon) {
    const bool result = icon == MsgIcon::None && resultTexts_.contains(text);
    if (!result)
        writeLine(err_, toDisplayLineBreaks(text));
    else if (!quiet_)
        writeLine(out_, toDisplayLineBreaks(text));
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
}

void ConsoleErrorReporter::report(const QString& description, const QString& location, int step) {
    ++count_;
    // An empty line keeps one report apart from the next.
    writeLine(err_, toDisplayLineBreaks(errorReportText(description, location, step)) +
                        QLatin1Char('\n'));
}

}  // namespace slate
