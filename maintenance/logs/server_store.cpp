#include "maintenance/logs/server_store.h"

#include "common/store/datastore.h"

namespace {

std::string quoted(const std::string& value) { return "'" + qevSqlQuote(value) + "'"; }

ServerRow serverOf(const StoreRow& stored) {
  ServerRow row;
  stored.text("ip", row.ip);
  stored.text("port", row.port);
  stored.text("username", row.username);
  stored.text("password", row.password);
  stored.text("remark", row.remark);
  return row;
}

}  // namespace

int qevLoadServerRows(std::vector<ServerRow>& rows) {
  rows.clear();
  const int result = qevQueryRows("select * from serverip order by ip asc", [&rows](const StoreRow& stored) {
    rows.push_back(serverOf(stored));
    return rows.size() < kServerSlots;
  });
  if (result != 1) rows.clear();
  return result == 1 ? 1 : 0;
}

int qevServerExists(const std::string& ip) {
  bool found = false;
  const int result = qevQueryRows("select * from serverip where ip = " + quoted(ip), [&found](const StoreRow&) {
    found = true;
    return false;
  });
  if (result != 1) return 0;
  return found ? 1 : 2;
}

int qevAddServerRow(const ServerRow& row) {
  return qevExecuteSql("insert into serverip(ip,port,username,password,remark) values (" + quoted(row.ip) + "," +
                       quoted(row.port) + "," + quoted(row.username) + "," + quoted(row.password) + "," +
                       quoted(row.remark) + ")");
}

int qevDeleteServerRow(const std::string& ip) { return qevExecuteSql("delete from serverip where ip = " + quoted(ip)); }

int qevDeleteAllServerRows() { return qevExecuteSql("delete from serverip"); }
