#include "console/checked_table_model.h"

CheckedTableModel::CheckedTableModel(std::span<const TableColumnLook> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {}

std::string CheckedTableModel::text(int row, int column) const {
  if (row < 0 || row >= rows() || column < 0 || column >= columnCount()) return {};
  if (column == 0) return std::to_string(row + 1);
  return cellText(row, column);
}

bool CheckedTableModel::isChecked(int row) const {
  return row >= 0 && row < rows() && static_cast<std::size_t>(row) < checked_.size() &&
         checked_[static_cast<std::size_t>(row)] != 0;
}

void CheckedTableModel::setChecked(int row, bool checked) {
  if (row < 0 || row >= rows() || static_cast<std::size_t>(row) >= checked_.size()) return;
  checked_[static_cast<std::size_t>(row)] = checked ? 1 : 0;
  const QModelIndex cell = index(row, 0);
  emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void CheckedTableModel::setAllChecked(bool checked) {
  if (rows() == 0) return;
  checked_.assign(static_cast<std::size_t>(rows()), checked ? 1 : 0);
  emit dataChanged(index(0, 0), index(rows() - 1, 0), {Qt::CheckStateRole});
}

int CheckedTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }

int CheckedTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CheckedTableModel::alignment(int column) const {
  const bool right = columns_[static_cast<std::size_t>(column)].alignRight;
  return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
}

QVariant CheckedTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows() || index.column() >= columnCount()) return {};
  const int column = index.column();
  if (role == Qt::DisplayRole) return QString::fromStdString(text(index.row(), column));
  if (role == Qt::CheckStateRole && column == 0) return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
  if (role == Qt::TextAlignmentRole) return alignment(column);
  return {};
}

bool CheckedTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
  setChecked(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags CheckedTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant CheckedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(columns_[static_cast<std::size_t>(section)].header);
  if (role == Qt::TextAlignmentRole) return alignment(section);
  return {};
}

int CheckedTableModel::widthOf(int column) const {
  return column < 0 || column >= columnCount() ? 0 : columns_[static_cast<std::size_t>(column)].width;
}
