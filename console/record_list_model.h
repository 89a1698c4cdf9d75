#pragma once
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "maintenance/records/record_row.h"

// The rows of the record list 1018: eight columns (number, name, kind, size, time, state, path,
// fid) and a check box in every row. Texts stay ANSI until a row is drawn, so a reload of
// thousands of rows converts only what is on screen.
class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 8;

  explicit RecordListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Replaces every row; check marks are lost.
  void replaceRows(std::vector<RecordRow> rows);

  int rows() const { return static_cast<int>(rows_.size()); }
  // Column 0 is the row number from 1; columns 1..7 the entry's texts. "" out of range.
  std::string text(int row, int column) const;
  bool isChecked(int row) const;
  void setChecked(int row, bool checked);
  // Check all rows (true) or clear every check mark (false).
  void setAllChecked(bool checked);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Header texts and widths of the eight columns.
  static const char* headerText(int column);
  static int columnWidth(int column);

 private:
  std::vector<RecordRow> rows_;
  std::vector<char> checked_;
};
