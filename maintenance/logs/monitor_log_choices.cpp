#include "maintenance/logs/monitor_log_choices.h"

#include "common/store/datastore.h"

namespace {

bool readDistinct(const std::string& column, std::vector<std::string>& values) {
  values.clear();
  const std::string statement = "select top " + std::to_string(kMonitorLogChoiceLimit) + " " + column +
                                " as choice from fmlog where " + column + " <> '' group by " + column +
                                " order by " + column + " asc";
  return qevQueryRows(statement, [&values](const StoreRow& row) {
           std::string value;
           row.text("choice", value);
           values.push_back(std::move(value));
           return true;
         }) == 1;
}

}  // namespace

int qevLoadMonitorLogChoices(MonitorLogChoices& choices) {
  const bool read = readDistinct("serip", choices.serverIps) && readDistinct("fileaction", choices.actions) &&
                    readDistinct("chkfileinfo", choices.categories) &&
                    readDistinct("blockfileinfo", choices.keywords);
  return read ? 1 : 0;
}
