// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "app/joblistview.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

#include "app/twips.h"
#include "joblist/joblist.h"

namespace slate {

namespace {
// How far from the list's top or bottom edge a drag starts scrolling: 55 pixels at 96 dpi,
// which leaves the 60-pixel still band in the middle of the list.
constexpr int kScrollBandTwips = 825;
}  // namespace

JobListView::JobListView(JobList* list, QWidget* parent) : QTreeView(parent), list_(list) {
    setModel(list);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

QStringList JobListView::droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

void JobListView::dragEnterEvent(QDragEnterEvent* event) {
    // Anything but a list of files shows that it cannot be dropped here.
    if (droppedPaths(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void JobListView::dragMoveEvent(QDragMoveEvent* event) {
    if (droppedPaths(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void JobListView::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (dropHandler_)
        dropHandler_(paths);
}

int JobListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void JobListView::removeSelectedEntry() {
    if (isBusy_ && isBusy_())
        return;
    if (list_->count() == 0)
        return;
    const int row = selectedRow();
    if (row >= 0)
        list_->removeAt(row);
}

int JobListView::scrollTarget(int y, int listHeight, int band, int hitRow, int rowCount) {
    if (y < band)
        return hitRow >= 1 ? hitRow - 1 : -1;
    if (listHeight - y < band)
        return hitRow + 1 < rowCount ? hitRow + 1 : -1;
    return -1;
}

int JobListView::scrollBand() const {
    return twipsToPixels(kScrollBandTwips, logicalDpi(this));
}

void JobListView::selectRow(int row) {
    const QModelIndex index = list_->index(row);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void JobListView::itemClicked() {
    // Without the picture the list keeps whatever pointer it has; the gesture still works.
    QPixmap picture;
    if (!dragPointerFile_.isEmpty()) {
        const QIcon icon(dragPointerFile_);
        if (!icon.availableSizes().isEmpty())
            picture = icon.pixmap(icon.availableSizes().first());
    }
    if (!picture.isNull()) {
        viewport()->setCursor(QCursor(picture));
        listPointer_ = ListPointer::DragImage;
    }
    const int row = selectedRow();
    draggedItem_ = row >= 0 ? QPersistentModelIndex(list_->index(row)) : QPersistentModelIndex();
}

void JobListView::mousePressEvent(QMouseEvent* event) {
    buttonHeld_ = true;
    QTreeView::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        itemClicked();
}

void JobListView::mouseMoveEvent(QMouseEvent* event) {
    if (pointerRule_)
        pointerRule_();
    if (!buttonHeld_) {
        QTreeView::mouseMoveEvent(event);
        return;
    }
    // While held the view's own drag-selection stays out of the way: only the swap moves.
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (!hit.isValid() || !draggedItem_.isValid())
        return;
    const int hitRow = hit.row();
    const int draggedRow = draggedItem_.row();
    const QString carried = list_->text(draggedRow);
    if (list_->text(hitRow) == carried)
        return;
    list_->setText(draggedRow, list_->text(hitRow));
    list_->setText(hitRow, carried);
    selectRow(hitRow);
    draggedItem_ = QPersistentModelIndex(list_->index(hitRow));
    // The pointer's place on the screen, measured from the list's own edges, so the bands
    // follow the list wherever the window stands.
    const int y = mapFromGlobal(event->globalPosition()).toPoint().y();
    const int target = scrollTarget(y, height(), scrollBand(), hitRow, list_->count());
    if (target >= 0)
        scrollTo(list_->index(target));
}

void JobListView::mouseReleaseEvent(QMouseEvent* event) {
    buttonHeld_ = false;
    viewport()->setCursor(Qt::ArrowCursor);
    listPointer_ = ListPointer::Arrow;
    QTreeView::mouseReleaseEvent(event);
}

void JobListView::mouseDoubleClickEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    removeSelectedEntry();
}

void JobListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        removeSelectedEntry();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace slate
