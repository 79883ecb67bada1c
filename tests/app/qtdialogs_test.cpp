// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "app/qtdialogs.h"
#include "joblist/adddialog.h"
#include "joblist/joblist.h"
#include "support/scripteddialogs.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

// Acts on the next modal dialog as a user would, from a polling timer.
void whenModalAppears(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(20);
}

TEST(QtDialogs, MessageBoxShowsLineBreaksCaptionIconAndButtons) {
    QtDialogs dialogs;
    QString shownText;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalAppears([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    const MsgAnswer answer =
        dialogs.messageBox(QStringLiteral("one\r\ntwo\r\rthree"), QStringLiteral("Slatemere"),
                           MsgButtons::YesNo, MsgIcon::None);
    EXPECT_EQ(answer, MsgAnswer::No);
    EXPECT_EQ(shownText, QStringLiteral("one\ntwo\n\nthree"));
    EXPECT_EQ(caption, QStringLiteral("Slatemere"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST(QtDialogs, InputBoxGivesTheTypedTextOrEmptyOnCancel) {
    QtDialogs dialogs;
    whenModalAppears([](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->textValue(), QStringLiteral("odp"));
        input->setTextValue(QStringLiteral("txt"));
        input->accept();
    });
    EXPECT_EQ(dialogs.inputBox(QStringLiteral("Extension?"), QStringLiteral("Slatemere"),
                               QStringLiteral("odp")),
              QStringLiteral("txt"));
    whenModalAppears([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.inputBox(QStringLiteral("Extension?"), QStringLiteral("Slatemere"),
                               QStringLiteral("odp")),
              QString());
}

struct FilterCase {
    const char* filter;
    QStringList expected;
};
class NameFilters : public ::testing::TestWithParam<FilterCase> {};
TEST_P(NameFilters, MatchCaseInsensitivelyAndAllFilesMatchesNamesWithoutADot) {
    EXPECT_EQ(QtDialogs::nameFilters(QString::fromUtf8(GetParam().filter)), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    QtDialogs, NameFilters,
    ::testing::Values(FilterCase{"Calc Spreadsheets (*.odp)|*.odp|All Files (*.*)|*.*",
                                 {"Calc Spreadsheets (*.odp) (*.[oO][dD][pP])",
                                  "All Files (*.*) (*)"}},
                      FilterCase{"Text|*.t?t", {"Text (*.[tT]?[tT])"}}, FilterCase{"", {}}));

class OpenFileDialog : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString touch(const QString& name) { return testing::writeTestFile(dir.filePath(name)); }
    // Picks the given names in the real dialog and confirms.
    void pick(const QStringList& names, QStringList* filtersSeen = nullptr) {
        whenModalAppears([this, names, filtersSeen](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (filtersSeen)
                *filtersSeen = dialog->nameFilters();
            dialog->setDirectory(dir.path());
            QStringList quoted;
            for (const QString& n : names)
                quoted << QLatin1Char('"') + n + QLatin1Char('"');
            dialog->findChild<QLineEdit*>()->setText(names.size() == 1 ? names.first()
                                                                       : quoted.join(' '));
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
    OpenFileRequest request{QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"),
                            QStringLiteral("Calc Spreadsheets (*.odp)|*.odp|All Files (*.*)|*.*"),
                            true, 30000};
    QTemporaryDir dir;
    QtDialogs dialogs;
};

TEST_F(OpenFileDialog, OnePickIsTheFullPathSeveralAreFolderAndNamesSeparatedByNul) {
    const QString a = touch(QStringLiteral("a.odp"));
    touch(QStringLiteral("b.ODP"));
    QStringList filters;
    pick({QStringLiteral("a.odp")}, &filters);
    EXPECT_EQ(dialogs.openFileDialog(request), a);
    EXPECT_EQ(filters.size(), 2);

    pick({QStringLiteral("a.odp"), QStringLiteral("b.ODP")});
    const QStringList parts = dialogs.openFileDialog(request).split(QChar(0));
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0], dir.path());
    EXPECT_EQ(QStringList(parts.mid(1)), QStringList({"a.odp", "b.ODP"}));
}

TEST_F(OpenFileDialog, ASelectionLargerThanTheBufferFails) {
    QStringList names;
    for (int i = 0; i < 300; ++i) {
        names << QStringLiteral("%1-%2.odp").arg(i, 3, 10, QLatin1Char('0')).arg(QString(100, 'x'));
        touch(names.last());
    }
    pick(names);
    EXPECT_THROW(dialogs.openFileDialog(request), SelectionTooLargeError);
}

// Typed into the file-name box of "Add ODP File(s)" (%1 is the test folder, where the dialog
// opens), and the rows the list gets, below the test folder.
struct TypedCase {
    const char* name;
    const char* typed;
    QStringList rows;
};
void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.name;
}
class TypedNames : public OpenFileDialog, public ::testing::WithParamInterface<TypedCase> {};
TEST_P(TypedNames, ListEveryTypedFileOnceInTheOrderTyped) {
    touch(QStringLiteral("d1/x.odp"));
    touch(QStringLiteral("tree/top.odp"));
    for (int i = 1; i <= 40; ++i)
        touch(QStringLiteral("many/f%1.odp").arg(i, 2, 10, QLatin1Char('0')));
    const QString typed =
        QString::fromUtf8(GetParam().typed).replace(QStringLiteral("%1"), dir.path());
    whenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(dir.path());
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        box->setFocus();
        QTest::keyClicks(box, typed, Qt::NoModifier, 1);
        QTest::keyClick(box, Qt::Key_Return);
    });
    JobList list;
    testing::RecordingReporter reporter;
    AddFilesByDialog(dialogs, reporter, list);

    QStringList expected;
    for (const QString& row : GetParam().rows)
        expected << dir.filePath(row);
    EXPECT_EQ(list.texts(), expected);
    EXPECT_TRUE(reporter.reports.isEmpty());
}
INSTANTIATE_TEST_SUITE_P(QtDialogs, TypedNames,
                         ::testing::Values(TypedCase{"TwoFolders",
                                                     R"("%1/d1/x.odp" "%1/tree/top.odp")",
                                                     {"d1/x.odp", "tree/top.odp"}},
                                           TypedCase{"OneFolder",
                                                     R"("%1/many/f01.odp" "%1/many/f02.odp")",
                                                     {"many/f01.odp", "many/f02.odp"}},
                                           TypedCase{"Relative",
                                                     R"("tree/top.odp" "many/f40.odp" "d1/x.odp")",
                                                     {"tree/top.odp", "many/f40.odp", "d1/x.odp"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtDialogs, CancellingThePickersGivesEmptyText) {
    QtDialogs dialogs;
    whenModalAppears([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.browseForFolder(QStringLiteral("Please select folder:"), QString()),
              QString());
    whenModalAppears([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.openFileDialog({}), QString());
}

TEST(QtDialogs, FolderPickerOpensAtTheInitialFolderAndReturnsThePick) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("inner"));
    QtDialogs dialogs;
    QString openedAt;
    QString title;
    whenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        openedAt = dialog->directory().absolutePath();
        title = dialog->windowTitle();
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("inner"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(dialogs.browseForFolder(QStringLiteral("Please select folder:"), dir.path()),
              dir.filePath(QStringLiteral("inner")));
    EXPECT_EQ(openedAt, dir.path());
    EXPECT_EQ(title, QStringLiteral("Please select folder:"));
}

}  // namespace
}  // namespace slate
