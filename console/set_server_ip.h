#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "maintenance/logs/server_row.h"

class Prompter;
class QLineEdit;
class QTableWidget;

// The server list dialog "服务器管理": the servers of table serverip (never their passwords), the
// six fields of a server, and the buttons that add, delete, reload and delete all. Every change
// goes to the data store at once; closing saves nothing. The handlers are public so tests drive
// the dialog without exec().
class CSetServerIP : public QDialog {
  Q_OBJECT

 public:
  explicit CSetServerIP(Prompter& prompter, QWidget* parent = nullptr);

  void onAdd();                // button 1007 "增加"
  void onDelete();             // button 1006 "删除": the server whose ip is in the ip field
  void onReload();             // button 1005 "刷新服务器"
  void onDeleteAll();          // button 1038 "删除全部IP地址"
  void onRowClicked(int row);  // list 1009: copies the row into the fields; -1 (no row) does nothing

  QTableWidget& serverList() { return *list_; }
  // The edit of a field id: 1039 ip, 1040 port, 1041 user name, 1042 password, 1046 password
  // again, 1044 remark.
  QLineEdit& field(int id);
  // The servers as the last reload read them, in list order.
  const std::vector<ServerRow>& servers() const { return servers_; }

 private:
  QLineEdit* addField(int id, const char* label, int x, int y, bool secret);
  std::string fieldText(int id);
  void showServers();

  Prompter& prompter_;
  QTableWidget* list_ = nullptr;
  std::vector<ServerRow> servers_;
};
