// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

namespace slate {

// The ordered list of source paths the next run works through. It is the only store of the
// list: the window's list view shows it, the run and the command line read it.
class JobList : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit JobList(QObject* parent = nullptr);

    // Adds a row at the end; no check of the text.
    void append(const QString& text);
    // Positions count from 0 here; the run's 1-based positions are its own business.
    int count() const { return static_cast<int>(rows_.size()); }
    // The text at a position; throws AppError when there is no such row.
    QString text(int row) const;
    void setText(int row, const QString& text);
    void removeAt(int row);
    void clear();
    const QStringList& texts() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The one column's header; empty until the window's start-up creates the column.
    void setHeaderText(const QString& header);
    QString headerText() const { return header_; }

  private:
    QStringList rows_;
    QString header_;
};

}  // namespace slate
