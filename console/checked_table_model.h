#pragma once
#include <QAbstractTableModel>
#include <span>
#include <string>
#include <vector>

// How a list column looks: its header, width in pixels and alignment.
struct TableColumnLook {
  const char* header;
  int width;
  bool alignRight;
};

// A list of text rows with a check box in column 0, which shows the row number from 1. Texts
// stay ANSI until a row is drawn, so a reload of thousands of rows converts only what is on
// screen. A subclass holds the rows and answers their texts.
class CheckedTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  CheckedTableModel(std::span<const TableColumnLook> columns, QObject* parent);

  virtual int rows() const = 0;
  // The text of a cell; column 0 is the row number from 1. "" out of range.
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
  // The width of a column in pixels.
  int widthOf(int column) const;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  // The text of a cell of columns 1 and up, for a row and column in range.
  virtual std::string cellText(int row, int column) const = 0;
  // For a subclass that replaces its rows between beginResetModel and endResetModel.
  void clearCheckMarks(std::size_t rowCount) { checked_.assign(rowCount, 0); }

 private:
  QVariant alignment(int column) const;

  std::span<const TableColumnLook> columns_;
  std::vector<char> checked_;
};
