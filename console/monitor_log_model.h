#pragma once
#include <string>
#include <vector>

#include "console/checked_table_model.h"
#include "maintenance/logs/monitor_log_row.h"
#include "maintenance/report/view_row.h"

// The rows of the monitor-log view: number, server ip, time, action, path, category, note,
// size and the row's key (monitor_log_column), with a check box in every row.
class MonitorLogModel : public CheckedTableModel {
  Q_OBJECT

 public:
  explicit MonitorLogModel(QObject* parent = nullptr);

  // Replaces every row; check marks are lost.
  void replaceRows(std::vector<MonitorLogRow> rows);
  int rows() const override { return static_cast<int>(rows_.size()); }

  // What the whitelist and report commands read of every row, in list order.
  std::vector<ViewRow> viewRows() const;

 protected:
  std::string cellText(int row, int column) const override;

 private:
  std::vector<MonitorLogRow> rows_;
};
