// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "app/joblistview.h"
#include "joblist/joblist.h"
#include "windowfixture.h"

namespace slate {
namespace {

using testing::WindowTest;

class DropOnList : public WindowTest {
  protected:
    QWidget* target() { return control<JobListView>("ListView1")->viewport(); }
    bool enter(const QMimeData& data) {
        QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target(), &event);
        return event.isAccepted();
    }
    void drop(const QMimeData& data) {
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target(), &event);
    }
};

TEST_F(DropOnList, TextWithoutAFileListCannotBeDropped) {
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.odp"));
    window().show();
    EXPECT_FALSE(enter(text));
    drop(text);
    EXPECT_EQ(window().jobList().count(), 0);
}

TEST_F(DropOnList, DroppedFilesBecomeEntriesInTheirOrder) {
    const QString a = programFolder.filePath(QStringLiteral("a.odp"));
    const QString b = programFolder.filePath(QStringLiteral("b file.odp"));
    for (const QString& p : {a, b}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(b), QUrl(QStringLiteral("https://example.com/x.odp")),
                   QUrl::fromLocalFile(a)});
    window().show();
    EXPECT_TRUE(enter(files));
    drop(files);
    EXPECT_EQ(window().jobList().texts(), QStringList({b, a}));
    EXPECT_EQ(window().pointer(), MousePointer::Default);
}

}  // namespace
}  // namespace slate
