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
    JobListView* view() { return window().ListView1; }
    JobList& list() { return window().jobList(); }

    void fill(const QStringList& texts) {
        for (const QString& t : texts)
            list().append(t);
        window().show();
        QCoreApplication::processEvents();
    }
    QPoint rowCentre(int row) { return view()->visualRect(list().index(row)).center(); }

    void send(QEvent::Type type, QPoint local, Qt::MouseButton button, int screenY = 330) {
        const QPointF global(view()->viewport()->mapToGlobal(local).x(), screenY);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(local), global,
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view()->viewport(), &event);
    }
    void press(int row) { send(QEvent::MouseButtonPress, rowCentre(row), Qt::LeftButton); }
    void moveTo(int row, int screenY = 330) {
        send(QEvent::MouseMove, rowCentre(row), Qt::LeftButton, screenY);
    }
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
    window().setPointer(MainWindow::Pointer::Busy);
    view()->setCurrentIndex(list().index(0));
    QTest::keyClick(view(), Qt::Key_Delete);
    view()->removeSelectedEntry();
    window().PushButton8_Click();
    EXPECT_EQ(list().count(), 3);
    press(0);
    moveTo(2);
    release(2);
    EXPECT_EQ(list().texts(), (QStringList{"/c.odp", "/b.odp", "/a.odp"}));
    window().setPointer(MainWindow::Pointer::Default);
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
    int screenY;
    int hitRow;
    int rowCount;
    int target;
};
class ScrollRule : public ::testing::TestWithParam<ScrollCase> {};
TEST_P(ScrollRule, DependsOnThePointersHeightOnTheScreen) {
    const ScrollCase c = GetParam();
    EXPECT_EQ(JobListView::scrollTarget(c.screenY, c.hitRow, c.rowCount), c.target);
}
INSTANTIATE_TEST_SUITE_P(JobListView, ScrollRule,
                         ::testing::Values(ScrollCase{304, 5, 10, 4}, ScrollCase{305, 5, 10, -1},
                                           ScrollCase{364, 5, 10, -1}, ScrollCase{365, 5, 10, 6},
                                           ScrollCase{304, 0, 10, -1},  // no row above the first
                                           ScrollCase{365, 9, 10, -1},  // no row below the last
                                           ScrollCase{0, 1, 2, 0}, ScrollCase{2000, 0, 2, 1}));

TEST_F(JobListTest, DraggingLowOnTheScreenScrollsTheNextRowIntoView) {
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QStringLiteral("/deck%1.odp").arg(i);
    fill(many);
    int last = 0;
    while (last + 1 < 60 &&
           view()->viewport()->rect().contains(view()->visualRect(list().index(last + 1))))
        ++last;
    ASSERT_LT(last + 1, 60);
    press(last - 1);
    moveTo(last, 330);  // middle band: no scroll
    EXPECT_EQ(view()->verticalScrollBar()->value(), 0);
    press(last);
    moveTo(last - 1, 330);
    moveTo(last, 400);
    EXPECT_GT(view()->verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace slate
