#pragma once
#include <string>
#include <vector>

#include "console/checked_table_model.h"
#include "maintenance/records/record_row.h"

// The rows of the record list 1018: eight columns (number, name, kind, size, time, state, path,
// fid) and a check box in every row.
class RecordListModel : public CheckedTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 8;

  explicit RecordListModel(QObject* parent = nullptr);

  // Replaces every row; check marks are lost.
  void replaceRows(std::vector<RecordRow> rows);
  int rows() const override { return static_cast<int>(rows_.size()); }

  // Header texts and widths of the eight columns.
  static const char* headerText(int column);
  static int columnWidth(int column);

 protected:
  std::string cellText(int row, int column) const override;

 private:
  std::vector<RecordRow> rows_;
};
