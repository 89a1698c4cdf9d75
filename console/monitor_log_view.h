#pragma once
#include <QObject>

#include "maintenance/logs/monitor_log_query.h"

class CSorrelmedeDlg;
class MonitorLogModel;
class QComboBox;
class QGroupBox;
class QTableView;

inline constexpr const char* kAnyChoiceText = "（全部）";

// The monitor-log view of the main window: the imported rows of table fmlog in the record
// list's place, and the log query "日志分析查询" in the place of the panes below it. The query
// holds the window's drop-down lists 1023 (server ip), 1025 (action), 1027 (category) and 1028
// (keyword, editable), its buttons 1045 and 1033, and the display filter boxes 1075, 1076 and
// 1072; choosing in any of them reloads the view. Everything runs on the window's thread.
class MonitorLogView : public QObject {
  Q_OBJECT

 public:
  explicit MonitorLogView(CSorrelmedeDlg& window);

  // Brings the view into place, loading it (the choice lists too, the first time); a view
  // already in place keeps its rows and their check marks.
  void bringIntoPlace();
  // Brings the record list and its pane back.
  void bringRecordListBack();
  bool inPlace() const { return inPlace_; }

  // Loads the rows for the query and order as they stand; a failed load keeps the rows.
  void reload();
  // 1045: the choice lists anew from fmlog, each led by "（全部）", which is then chosen.
  void refillChoices();
  // 1033: "（全部）" in every list, then a reload.
  void chooseDefaults();

  // The query as the controls set it: "（全部）" or an empty keyword leaves a field free.
  MonitorLogFilter filter() const;
  const MonitorLogOrder& order() const { return order_; }

  MonitorLogModel& model() { return *model_; }
  QTableView& table() { return *table_; }
  QGroupBox& queryPanel() { return *panel_; }

 private:
  void buildTable();
  void buildPanel();
  void connectChoices();
  void fillChoices();
  QComboBox* choiceList(int id) const;

  CSorrelmedeDlg& window_;
  MonitorLogModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QGroupBox* panel_ = nullptr;
  MonitorLogOrder order_;
  bool inPlace_ = false;
  bool choicesFilled_ = false;
};
