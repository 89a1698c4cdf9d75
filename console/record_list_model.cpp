#include "console/record_list_model.h"

#include <array>

namespace {

constexpr std::array<TableColumnLook, RecordListModel::kColumnCount> kColumns = {{
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

RecordListModel::RecordListModel(QObject* parent) : CheckedTableModel(kColumns, parent) {}

void RecordListModel::replaceRows(std::vector<RecordRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  clearCheckMarks(rows_.size());
  endResetModel();
}

std::string RecordListModel::cellText(int row, int column) const {
  return rowText(rows_[static_cast<std::size_t>(row)], column);
}

const char* RecordListModel::headerText(int column) { return kColumns[static_cast<std::size_t>(column)].header; }

int RecordListModel::columnWidth(int column) { return kColumns[static_cast<std::size_t>(column)].width; }
