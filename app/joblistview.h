// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCursor>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTreeView>

#include <functional>

class QMimeData;

namespace slate {

class JobList;

// The job list on screen: removal by double-click and Delete, and the reorder gesture in which
// the dragged path trades places with each row the pointer reaches.
class JobListView : public QTreeView {
    Q_OBJECT
  public:
    enum class ListPointer { Default, DragImage, Arrow };

    JobListView(JobList* list, QWidget* parent = nullptr);

    // The window's busy test; removal is refused while it answers true.
    void setBusyTest(std::function<bool()> test) { isBusy_ = std::move(test); }
    // The window's pointer rule, run first on every pointer move over the list.
    void setPointerMoveRule(std::function<void()> rule) { pointerRule_ = std::move(rule); }
    // Where the drag pointer picture is loaded from, on every item click.
    void setDragPointerFile(const QString& path) { dragPointerFile_ = path; }

    // Receives the local paths of a drop, in the order the drag listed them.
    void setDropHandler(std::function<void(const QStringList&)> handler) {
        dropHandler_ = std::move(handler);
    }
    // The local file paths a drag offers; empty when it offers no file list.
    static QStringList droppedPaths(const QMimeData* data);

    void removeSelectedEntry();
    int selectedRow() const;

    bool buttonHeld() const { return buttonHeld_; }
    int draggedRow() const { return draggedItem_.isValid() ? draggedItem_.row() : -1; }
    ListPointer listPointer() const { return listPointer_; }

    // The row to scroll into view for a pointer `y` pixels below the top edge of a list
    // `listHeight` pixels high, while the dragged path stands at `hitRow` (0-based): the row
    // above within `band` pixels of the top edge, the row below within `band` pixels of the
    // bottom edge; -1 when nothing scrolls.
    static int scrollTarget(int y, int listHeight, int band, int hitRow, int rowCount);
    // The depth of those two bands at the list's scale.
    int scrollBand() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void itemClicked();
    void selectRow(int row);

    JobList* list_;
    std::function<bool()> isBusy_;
    std::function<void()> pointerRule_;
    std::function<void(const QStringList&)> dropHandler_;
    QString dragPointerFile_;
    bool buttonHeld_ = false;
    QPersistentModelIndex draggedItem_;
    ListPointer listPointer_ = ListPointer::Default;
};

}  // namespace slate
