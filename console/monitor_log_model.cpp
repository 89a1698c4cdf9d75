#include "console/monitor_log_model.h"

#include <array>

namespace {

using namespace monitor_log_column;

constexpr std::array<TableColumnLook, kCount> kColumns = {{
    {"序号", 60, false},
    {"服务器IP", 110, false},
    {"时间", 140, false},
    {"动作", 70, false},
    {"文件路径", 360, false},
    {"文件类别", 170, false},
    {"说明", 160, false},
    {"文件大小", 80, true},
    {"id", 1, false},
}};

}  // namespace

MonitorLogModel::MonitorLogModel(QObject* parent) : CheckedTableModel(kColumns, parent) {}

void MonitorLogModel::replaceRows(std::vector<MonitorLogRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  clearCheckMarks(rows_.size());
  endResetModel();
}

std::vector<ViewRow> MonitorLogModel::viewRows() const {
  std::vector<ViewRow> view;
  view.reserve(rows_.size());
  for (int row = 0; row < rows(); ++row) {
    view.push_back({isChecked(row), text(row, kPath), text(row, kCategory), text(row, kKey)});
  }
  return view;
}

std::string MonitorLogModel::cellText(int row, int column) const {
  return qevMonitorLogCellText(rows_[static_cast<std::size_t>(row)], column);
}
