// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/joblist.h"

#include "common/errorpolicy.h"

namespace slate {

JobList::JobList(QObject* parent) : QAbstractListModel(parent) {}

void JobList::append(const QString& text) {
    const int row = count();
    beginInsertRows({}, row, row);
    rows_.append(text);
    endInsertRows();
}

QString JobList::text(int row) const {
    if (row < 0 || row >= count()) {
        throw AppError(
            QStringLiteral("Invalid list row %1 (the list has %2 rows)").arg(row + 1).arg(count()));
    }
    return rows_.at(row);
}

void JobList::setText(int row, const QString& text) {
    if (row < 0 || row >= count())
        return;
    rows_[row] = text;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void JobList::removeAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    endRemoveRows();
}

void JobList::clear() {
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int JobList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant JobList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole) {
        return rows_.at(index.row());
    }
    return {};
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header_;
    return QAbstractListModel::headerData(section, orientation, role);
}

void JobList::setHeaderText(const QString& header) {
    header_ = header;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

}  // namespace slate
