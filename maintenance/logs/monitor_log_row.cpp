#include "maintenance/logs/monitor_log_row.h"

namespace {

std::string dateAndTime(const MonitorLogRow& row) {
  if (row.date.empty()) return row.time;
  if (row.time.empty()) return row.date;
  return row.date + " " + row.time;
}

}  // namespace

std::string qevMonitorLogCellText(const MonitorLogRow& row, int column) {
  using namespace monitor_log_column;
  switch (column) {
    case kServerIp: return row.serverIp;
    case kTime: return dateAndTime(row);
    case kAction: return row.action;
    case kPath: return row.path;
    case kCategory: return row.category;
    case kBlockInfo: return row.blockInfo;
    case kSize: return row.size;
    case kKey: return row.key;
    default: return {};
  }
}
