// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QFile>
#include <QScrollBar>
#include <QTest>

#include "app/artwork.h"
#include "app/joblistview.h"
#include "joblist/joblist.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

class JobListTest : public WindowTest {
  protected:
    JobListView* view() { return control<JobListView>("ListView1"); }
    JobList& list() { return window().jobList(); }

    void fill(const QStringList& texts) {
        for (const QString& t : texts)
            list().append(t);
        window().show();
        QCoreApplication::processEvents();
    }
    QPoint rowCentre(int row) { return view()->visualRect(list().index(row)).center(); }

    void send(QEvent::Type type, QPoint local, Qt::MouseButton button) {
        const QPointF global(view()->viewport()->mapToGlobal(local));
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(local), global,
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view()->viewport(), &event);
    }
    void press(int row) { send(QEvent::MouseButtonPress, rowCentre(row), Qt::LeftButton); }
    void moveTo(int row) { send(QEvent::MouseMove, rowCentre(row), Qt::LeftButton); }
    void release(int row) { send(QEvent::MouseButtonRelease, rowCentre(row), Qt::LeftButton); }
    void writeDragPicture() {
        QFile f(programFile(QStringLiteral("drag.ico")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(artwork::encodeIconFile({artwork::dragPointer()}));
    }
};

TEST_F(JobListTest, DeleteKeyAndDoubleClickRemoveTheSelectedEntry) {
    fill({"/a.odp", "/b.odp", "/c.odp"});
    view()->setCurrentIndex(list().index(1));
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(list().texts(), (QStringList{"/a.odp", "/c.odp"}));
    QTest::keyClick(view(), Qt::Key_Delete, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(list().texts(), QStringList{"/a.odp"});
    view()->setCurrentIndex(list().index(0));
    QTest::keyClick(view(), Qt::Key_Backspace);
    EXPECT_EQ(list().count(), 1);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(list().count(), 0);
    // Nothing to remove: nothing happens.
    QTest::keyClick(view(), Qt::Key_Delete);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(list().count(), 0);
}

TEST_F(JobListTest, WithoutSelectionNothingIsRemoved) {
    fill({"/a.odp", "/b.odp"});
    view()->selectionModel()->clear();
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(list().count(), 2);
}

TEST_F(JobListTest, WhileBusyRemovalAndClearAreRefusedButDraggingStillMoves) {
    fill({"/a.odp", "/b.odp", "/c.odp"});
    window().setMousePointer(MousePointer::Busy);
    view()->setCurrentIndex(list().index(0));
    QTest::keyClick(view(), Qt::Key_Delete);
    view()->removeSelectedEntry();
    window().PushButton8_Click();
    EXPECT_EQ(list().count(), 3);
    press(0);
    moveTo(2);
    release(2);
    EXPECT_EQ(list().texts(), (QStringList{"/c.odp", "/b.odp", "/a.odp"}));
    window().setMousePointer(MousePointer::Default);
    window().PushButton8_Click();
    EXPECT_EQ(list().count(), 0);
    window().PushButton8_Click();
    EXPECT_EQ(list().count(), 0);
    EXPECT_TRUE(reporter.reports.isEmpty());
}

TEST_F(JobListTest, DraggedPathTradesPlacesWithTheRowReachedOnly) {
    fill({"/1", "/2", "/3", "/4", "/5"});
    press(0);
    EXPECT_TRUE(view()->buttonHeld());
    moveTo(3);  // skipped rows 2 and 3 keep their places
    EXPECT_EQ(list().texts(), (QStringList{"/4", "/2", "/3", "/1", "/5"}));
    EXPECT_EQ(view()->selectedRow(), 3);
    moveTo(4);
    EXPECT_EQ(list().texts(), (QStringList{"/4", "/2", "/3", "/5", "/1"}));
    moveTo(4);  // the row reached is the dragged one itself
    EXPECT_EQ(list().texts(), (QStringList{"/4", "/2", "/3", "/5", "/1"}));
    release(4);
    EXPECT_FALSE(view()->buttonHeld());
    EXPECT_EQ(view()->draggedRow(), 4);
}

TEST_F(JobListTest, EqualTextsNeverTradePlaces) {
    fill({"/same", "/same", "/other"});
    press(0);
    moveTo(1);
    EXPECT_EQ(list().texts(), (QStringList{"/same", "/same", "/other"}));
    moveTo(2);
    EXPECT_EQ(list().texts(), (QStringList{"/other", "/same", "/same"}));
}

TEST_F(JobListTest, MovesWithoutAHeldButtonChangeNothing) {
    fill({"/a", "/b"});
    press(0);
    release(0);
    moveTo(1);
    EXPECT_EQ(list().texts(), (QStringList{"/a", "/b"}));
}

TEST_F(JobListTest, AfterADragAPressOnEmptySpaceMovesTheEntryDraggedLast) {
    fill({"/a", "/b", "/c"});
    press(0);
    moveTo(1);
    release(1);
    ASSERT_EQ(list().texts(), (QStringList{"/b", "/a", "/c"}));
    const QPoint empty(10, view()->viewport()->height() - 3);
    ASSERT_FALSE(view()->indexAt(empty).isValid());
    send(QEvent::MouseButtonPress, empty, Qt::LeftButton);
    moveTo(2);
    EXPECT_EQ(list().texts(), (QStringList{"/b", "/c", "/a"}));
}

TEST_F(JobListTest, ClearedListLeavesNoEntryToDrag) {
    fill({"/a", "/b"});
    press(0);
    release(0);
    window().PushButton8_Click();
    list().append(QStringLiteral("/x"));
    list().append(QStringLiteral("/y"));
    send(QEvent::MouseButtonPress, QPoint(10, view()->viewport()->height() - 3), Qt::LeftButton);
    moveTo(1);
    EXPECT_EQ(list().texts(), (QStringList{"/x", "/y"}));
}

TEST_F(JobListTest, ListPointerIsTheDragPictureWhileHoldingAndTheArrowAfter) {
    writeDragPicture();
    fill({"/a", "/b"});
    EXPECT_EQ(view()->listPointer(), JobListView::ListPointer::Default);
    press(0);
    EXPECT_EQ(view()->listPointer(), JobListView::ListPointer::DragImage);
    EXPECT_EQ(view()->viewport()->cursor().shape(), Qt::BitmapCursor);
    release(0);
    EXPECT_EQ(view()->listPointer(), JobListView::ListPointer::Arrow);
    EXPECT_EQ(view()->viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(JobListTest, WithoutTheDragPictureTheListKeepsItsPointerAndTheGestureWorks) {
    fill({"/a", "/b"});
    press(0);
    EXPECT_EQ(view()->listPointer(), JobListView::ListPointer::Default);
    moveTo(1);
    EXPECT_EQ(list().texts(), (QStringList{"/b", "/a"}));
    release(1);
    press(0);
    EXPECT_EQ(view()->listPointer(), JobListView::ListPointer::Arrow);
}

struct ScrollCase {
    int y;
    int hitRow;
    int rowCount;
    int target;
};
class ScrollRule : public ::testing::TestWithParam<ScrollCase> {};
TEST_P(ScrollRule, DependsOnThePointersDistanceFromTheListsEdges) {
    const ScrollCase c = GetParam();
    // A list 169 pixels high with 55-pixel bands, as at 96 dpi.
    EXPECT_EQ(JobListView::scrollTarget(c.y, 169, 55, c.hitRow, c.rowCount), c.target);
}
INSTANTIATE_TEST_SUITE_P(JobListView, ScrollRule,
                         ::testing::Values(ScrollCase{54, 5, 10, 4}, ScrollCase{55, 5, 10, -1},
                                           ScrollCase{114, 5, 10, -1}, ScrollCase{115, 5, 10, 6},
                                           ScrollCase{54, 0, 10, -1},   // no row above the first
                                           ScrollCase{115, 9, 10, -1},  // no row below the last
                                           ScrollCase{-40, 1, 2, 0}, ScrollCase{400, 0, 2, 1}));

// The bands follow the list wherever the window stands on the screen.
class DragScroll : public JobListTest, public ::testing::WithParamInterface<QPoint> {
  protected:
    void SetUp() override {
        JobListTest::SetUp();
        QStringList many;
        for (int i = 0; i < 60; ++i)
            many << QStringLiteral("/deck%1.odp").arg(i);
        fill(many);
        window().move(GetParam());
        QCoreApplication::processEvents();
        // The list really stands where the window was put.
        ASSERT_GE(view()->mapToGlobal(QPoint(0, 0)).y(), GetParam().y());
    }
    int scrolled() { return view()->verticalScrollBar()->value(); }
    // The pointer's height over a row's centre, from the list's own top edge.
    int listY(int row) { return view()->viewport()->mapTo(view(), rowCentre(row)).y(); }
    // The first (or last) wholly visible row whose centre lies in [from, to) of the list.
    int visibleRowIn(int from, int to, bool last = false) {
        int found = -1;
        for (int row = 0; row < list().count(); ++row) {
            const QRect rect = view()->visualRect(list().index(row));
            if (view()->viewport()->rect().contains(rect) && listY(row) >= from &&
                listY(row) < to && (found < 0 || last))
                found = row;
        }
        return found;
    }
    void drag(int from, int to) {
        press(from);
        moveTo(to);
        release(to);
    }
};

TEST_P(DragScroll, NearTheBottomEdgeTheNextRowScrollsIntoView) {
    const int band = view()->scrollBand();
    const int row = visibleRowIn(view()->height() - band, view()->height(), true);
    ASSERT_GE(row, 1);
    drag(row - 1, row);
    EXPECT_GT(scrolled(), 0);
}

TEST_P(DragScroll, NearTheTopEdgeTheRowAboveScrollsIntoView) {
    view()->verticalScrollBar()->setValue(10);
    const int before = scrolled();
    const int row = visibleRowIn(0, view()->scrollBand());
    ASSERT_GE(row, 1);
    drag(row + 1, row);
    EXPECT_LT(scrolled(), before);
}

INSTANTIATE_TEST_SUITE_P(JobListView, DragScroll, ::testing::Values(QPoint(0, 0), QPoint(40, 700)),
                         [](const auto& info) {
                             return info.param.y() == 0 ? "TopOfScreen" : "LowOnScreen";
                         });

}  // namespace
}  // namespace slate
