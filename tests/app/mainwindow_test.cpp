// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/artwork.h"
#include "app/joblistview.h"
#include "app/twips.h"
#include "common/apptitle.h"
#include "common/product.h"
#include "joblist/joblist.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

struct ControlCase {
    const char* name;
    const char* className;
    const char* caption;
    const char* container;
    int left, top, width, height;
};

class Controls : public WindowTest, public ::testing::WithParamInterface<ControlCase> {};

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return {};
}

TEST_P(Controls, StandInTheirContainerAtTheirPlaceWithTheirCaption) {
    const ControlCase c = GetParam();
    auto* w = window().findChild<QWidget*>(QLatin1String(c.name));
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_TRUE(w->inherits(c.className)) << c.name;
    EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(c.container)) << c.name;
    EXPECT_EQ(captionOf(w), QString::fromUtf8(c.caption)) << c.name;
    const int dpi = logicalDpi(w);
    EXPECT_EQ(w->geometry(), twipsRect(c.left, c.top, c.width, c.height, dpi)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Controls,
    ::testing::Values(
        ControlCase{"ListView1", "QTreeView", "", "Form1", 120, 120, 7800, 2535},
        ControlCase{"ProgressBar1", "QProgressBar", "", "Form1", 120, 6150, 7800, 405},
        ControlCase{"PushButton1", "QPushButton", "Add ODP File(s)", "Form1", 120, 2750, 3840, 405},
        ControlCase{"PushButton4", "QPushButton", "Add All ODP Files In Folder", "Form1", 4080,
                    2750, 3840, 405},
        ControlCase{"PushButton2", "QPushButton", "Start Converting", "Form1", 120, 5630, 7800,
                    405},
        ControlCase{"PushButton8", "QPushButton", "Clear List", "Form1", 120, 3260, 3840, 405},
        ControlCase{"PushButton9", "QPushButton", "Load Sample/Example Files", "Form1", 4080, 3260,
                    3840, 405},
        ControlCase{"Frame3", "QGroupBox", "Save Option", "Form1", 120, 3690, 7800, 1815},
        ControlCase{"Frame4", "QGroupBox", "", "Frame3", 480, 510, 6840, 810},
        ControlCase{"Text1", "QLineEdit", "", "Frame4", 240, 300, 5670, 345},
        ControlCase{"PushButton3", "QPushButton", "...", "Frame4", 6000, 300, 600, 345},
        ControlCase{"Option1", "QRadioButton", "Save results to this folder:", "Frame3", 240, 300,
                    3615, 255},
        ControlCase{"Option2", "QRadioButton", "Save results in folder of original file", "Frame3",
                    240, 1410, 3615, 255}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, IsAFixedWhiteWindowOfTheDesignedSizeWithArialBold) {
    MainWindow& w = window();
    const int dpi = logicalDpi(&w);
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.size(), QSize(twipsToPixels(8040, dpi), twipsToPixels(6660, dpi)));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::white));
    const QRadioButton* option1 = control<QRadioButton>("Option1");
    EXPECT_EQ(option1->palette().color(option1->backgroundRole()), QColor(Qt::white));
    EXPECT_EQ(w.font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(w.font().bold());
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), 9.0);
    EXPECT_DOUBLE_EQ(control<QPushButton>("PushButton2")->font().pointSizeF(), 11.25);
    EXPECT_TRUE(control<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(control<JobListView>("ListView1")->toolTip(),
              QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | "
                             "line to right and out of window to reveal full names."));
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->text(), QStringLiteral("Progress Bar"));
}

TEST_F(WindowTest, FirstShowsCentredOnTheScreen) {
    MainWindow& w = window();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w.geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(WindowTest, TabOrderFollowsTheDesign) {
    QList<QWidget*> expected;
    for (const char* name :
         {"ListView1", "PushButton1", "PushButton4", "PushButton2", "PushButton8", "PushButton9",
          "Text1", "PushButton3", "Option1", "Option2"})
        expected << control(name);
    QList<QWidget*> chain;
    QWidget* at = expected.first();
    do {
        if (expected.contains(at) && !chain.contains(at))
            chain << at;
        at = at->nextInFocusChain();
    } while (at != expected.first() && chain.size() < expected.size());
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowTest, StartUpSetsCaptionIconTitleAndTheListColumn) {
    setAppTitleText(product::kName);
    MainWindow& w = window();
    w.Form_Load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Slatemere Converter"));
    EXPECT_EQ(appTitle(), QStringLiteral("Slatemere"));
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_EQ(w.jobList().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Impress File(s)"));
    EXPECT_EQ(control<JobListView>("ListView1")->columnWidth(0),
              twipsToPixels(7000, logicalDpi(&w)));
    EXPECT_TRUE(reporter.reports.isEmpty());
}

struct TitleCase {
    const char* name;
    const char* title;
};
class Title : public ::testing::TestWithParam<TitleCase> {};
TEST_P(Title, IsCutAtTheLastSpaceAtLeastOnceAndUntilAtMostForty) {
    EXPECT_EQ(shortenedTitle(QString::fromUtf8(GetParam().name)),
              QString::fromUtf8(GetParam().title));
}
INSTANTIATE_TEST_SUITE_P(
    AppTitle, Title,
    ::testing::Values(TitleCase{"Slatemere Converter", "Slatemere"},
                      TitleCase{"Slatemere Converter Pro Edition", "Slatemere Converter Pro"},
                      TitleCase{"Slatemere", "Slatemere"},
                      TitleCase{"Aaaaaaaaaa Bbbbbbbbbb Cccccccccc Dddddddddd Eeeee Ffff",
                                "Aaaaaaaaaa Bbbbbbbbbb Cccccccccc"}));

TEST_F(WindowTest, SkinFileTurnsBackgroundsToButtonFaceAndAppliesTheSheet) {
    QDir(programFolder.path()).mkpath(QStringLiteral("x"));
    QFile skin(programFile(QStringLiteral("x/o.cjs")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QPushButton { color: rgb(1, 2, 3); }");
    skin.close();
    MainWindow& w = window();
    w.Form_Load();
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(w.palette().color(QPalette::Window), face);
    EXPECT_EQ(control<QGroupBox>("Frame3")->palette().color(QPalette::Window), face);
    EXPECT_EQ(control<QRadioButton>("Option2")->palette().color(QPalette::Window), face);
    EXPECT_TRUE(w.styleSheet().contains(QStringLiteral("rgb(1, 2, 3)")));
}

TEST_F(WindowTest, WithoutSkinFileEverythingStaysWhite) {
    MainWindow& w = window();
    w.Form_Load();
    EXPECT_EQ(control<QGroupBox>("Frame3")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(w.styleSheet().isEmpty());
}

TEST_F(WindowTest, HoverRulesSwitchBetweenHandAndDefaultButNeverReplaceBusy) {
    QFile cursor(programFile(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(cursor.open(QIODevice::WriteOnly));
    cursor.write(artwork::encodeIconFile({artwork::handPointer()}, true, artwork::handHotspot()));
    cursor.close();
    MainWindow& w = window();
    w.Form_Load();

    w.applyHoverRule(control("PushButton9"));
    EXPECT_EQ(w.pointer(), MousePointer::Custom);
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    w.applyHoverRule(control("Option1"));  // no rule of its own: the pointer stays
    EXPECT_EQ(w.pointer(), MousePointer::Custom);
    w.applyHoverRule(control("Frame4"));
    EXPECT_EQ(w.pointer(), MousePointer::Default);
    w.applyHoverRule(control("PushButton3"));
    EXPECT_EQ(w.pointer(), MousePointer::Custom);
    w.applyHoverRule(control("ListView1"));
    EXPECT_EQ(w.pointer(), MousePointer::Default);

    w.setMousePointer(MousePointer::Busy);
    EXPECT_TRUE(w.isBusy());
    for (QWidget* over :
         {control("PushButton1"), static_cast<QWidget*>(&w), control("ListView1")}) {
        w.applyHoverRule(over);
        EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    }
}

TEST_F(WindowTest, RealMouseMovesOverAButtonShowTheHand) {
    MainWindow& w = window();
    w.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5),
                     control<QPushButton>("PushButton1")->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control<QPushButton>("PushButton1"), &move);
    EXPECT_EQ(w.pointer(), MousePointer::Custom);
    QMouseEvent back(QEvent::MouseMove, QPointF(2, 2), w.mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &back);
    EXPECT_EQ(w.pointer(), MousePointer::Default);
}

TEST_F(WindowTest, WithoutTheHandPictureTheCustomPointerShowsAsTheDefault) {
    MainWindow& w = window();
    w.Form_Load();
    w.applyHoverRule(control("PushButton2"));
    EXPECT_EQ(w.pointer(), MousePointer::Custom);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(WindowTest, ProgressTextShowsPercentSignsLiterally) {
    MainWindow& w = window();
    w.setProgressValue(50);
    w.setProgressText(QStringLiteral("Processing: 100%p.odp"));
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->text(),
              QStringLiteral("Processing: 100%p.odp"));
}

TEST_F(WindowTest, ClosingTheWindowEndsTheProgramEvenInsideAHandlerProcessingEvents) {
    EXPECT_EXIT(
        {
            MainWindow w(WindowServices{dialogs, shell, random, reporter, bridge,
                                        nativeFileSystem(), programFolder.path()});
            w.show();
            QTimer::singleShot(0, &w, [&w] { w.close(); });
            // A long handler that lets the window handle its events now and then.
            for (;;)
                QCoreApplication::processEvents();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowTest, ClosingTheWindowRunsTheCloseAction) {
    MainWindow& w = window();
    w.show();
    w.close();
    EXPECT_EQ(closeRequests, 1);
}

}  // namespace
}  // namespace slate
