#include "console/record_list_model.h"

#include <array>

namespace {

struct ColumnLook {
  const char* header;
  int width;
  bool alignRight;
};

constexpr std::array<ColumnLook, RecordListModel::kColumnCount> kColumns = {{
    {"序号", 60, false},
    {"文件名", 180, false},
    {"文件类别", 80, false},
    {"文件大小", 80, true},
    {"时间", 120, false},
    {"状态", 80, false},
    {"路径", 800, false},
    {"fid", 1, false},
}};

const std::string& rowText(const RecordRow& row, int column) {
  static const std::string empty;
  switch (column) {
    case 1: return row.name;
    case 2: return row.kind;
    case 3: return row.size;
    case 4: return row.time;
    case 5: return row.state;
    case 6: return row.path;
    case 7: return row.recordId;
    default: return empty;
  }
}

}  // namespace

void RecordListModel::replaceRows(std::vector<RecordRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  checked_.assign(rows_.size(), 0);
  endResetModel();
}

std::string RecordListModel::text(int row, int column) const {
  if (row < 0 || row >= rows() || column < 0 || column >= kColumnCount) return {};
  if (column == 0) return std::to_string(row + 1);
  return rowText(rows_[static_cast<std::size_t>(row)], column);
}

bool RecordListModel::isChecked(int row) const {
  return row >= 0 && row < rows() && checked_[static_cast<std::size_t>(row)] != 0;
}

void RecordListModel::setChecked(int row, bool checked) {
  if (row < 0 || row >= rows()) return;
  checked_[static_cast<std::size_t>(row)] = checked ? 1 : 0;
  const QModelIndex cell = index(row, 0);
  emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void RecordListModel::setAllChecked(bool checked) {
  if (rows_.empty()) return;
  checked_.assign(rows_.size(), checked ? 1 : 0);
  emit dataChanged(index(0, 0), index(rows() - 1, 0), {Qt::CheckStateRole});
}

int RecordListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }

int RecordListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows()) return {};
  const int column = index.column();
  if (role == Qt::DisplayRole) return QString::fromStdString(text(index.row(), column));
  if (role == Qt::CheckStateRole && column == 0) return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
  if (role == Qt::TextAlignmentRole) {
    const bool right = kColumns[static_cast<std::size_t>(column)].alignRight;
    return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
  setChecked(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(headerText(section));
  if (role == Qt::TextAlignmentRole) {
    const bool right = kColumns[static_cast<std::size_t>(section)].alignRight;
    return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

const char* RecordListModel::headerText(int column) { return kColumns[static_cast<std::size_t>(column)].header; }

int RecordListModel::columnWidth(int column) { return kColumns[static_cast<std::size_t>(column)].width; }
