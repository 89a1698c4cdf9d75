#include "maintenance/logs/monitor_log_query.h"

#include "common/store/datastore.h"

namespace {

using namespace monitor_log_column;

// A LIKE pattern that finds text anywhere, its own "%", "_" and "\" taken literally.
std::string containsPattern(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return "'%" + qevSqlQuote(escaped) + "%' escape '\\'";
}

std::string equalsValue(const std::string& column, const std::string& value) {
  return column + " = '" + qevSqlQuote(value) + "'";
}

// The display filters: any kind that is set lets its rows through.
std::string kindCondition(const MonitorLogFilter& filter) {
  std::string kinds;
  const auto add = [&kinds](const std::string& condition) { kinds += (kinds.empty() ? "" : " or ") + condition; };
  if (filter.whitelistFiles) add("chkfileinfo like " + containsPattern(kWhitelistCategoryWord));
  if (filter.suspiciousFiles) add(equalsValue("chkfileinfo", kSuspiciousCategoryText) + " collate nocase");
  if (filter.trojanFiles) add("chkfileinfo like " + containsPattern(kTrojanCategoryWord));
  return kinds.empty() ? kinds : "(" + kinds + ")";
}

std::string whereClause(const MonitorLogFilter& filter) {
  std::vector<std::string> conditions;
  if (!filter.serverIp.empty()) conditions.push_back(equalsValue("serip", filter.serverIp));
  if (!filter.action.empty()) conditions.push_back(equalsValue("fileaction", filter.action));
  if (!filter.category.empty()) conditions.push_back(equalsValue("chkfileinfo", filter.category));
  if (!filter.keyword.empty()) {
    const std::string pattern = containsPattern(filter.keyword);
    conditions.push_back("(filename like " + pattern + " or blockfileinfo like " + pattern + ")");
  }
  if (const std::string kinds = kindCondition(filter); !kinds.empty()) conditions.push_back(kinds);
  std::string clause;
  for (const std::string& condition : conditions) clause += (clause.empty() ? " where " : " and ") + condition;
  return clause;
}

// The stored columns behind a view column, most significant first.
std::vector<std::string> sortColumns(int viewColumn) {
  switch (viewColumn) {
    case kServerIp: return {"serip"};
    case kTime: return {"regdate", "regtime"};
    case kAction: return {"fileaction"};
    case kPath: return {"filename"};
    case kCategory: return {"chkfileinfo"};
    case kBlockInfo: return {"blockfileinfo"};
    case kSize: return {"cast(filesize as integer)"};  // stored as text, ordered as a number
    default: return {};  // the number and key columns: import order
  }
}

std::string orderClause(const MonitorLogOrder& order) {
  const std::string direction = order.descending ? " desc" : " asc";
  std::string clause;
  for (const std::string& column : sortColumns(order.column)) clause += column + direction + ", ";
  return " order by " + clause + "id" + direction;
}

MonitorLogRow rowFrom(const StoreRow& stored) {
  MonitorLogRow row;
  stored.text("id", row.key);
  stored.text("fid", row.logFile);
  stored.text("serip", row.serverIp);
  stored.text("regdate", row.date);
  stored.text("regtime", row.time);
  stored.text("fileextname", row.extension);
  stored.text("fileaction", row.action);
  stored.text("chkfile", row.check);
  stored.text("chkfileinfo", row.category);
  stored.text("blockfile", row.block);
  stored.text("blockfileinfo", row.blockInfo);
  stored.text("filename", row.path);
  stored.text("filesize", row.size);
  stored.text("filechkvalue", row.checkValue);
  stored.text("filetype", row.type);
  return row;
}

}  // namespace

void MonitorLogOrder::clickHeader(int viewColumn) {
  if (viewColumn == column) {
    descending = !descending;
    return;
  }
  column = viewColumn;
  descending = false;
}

std::string qevMonitorLogQuery(const MonitorLogFilter& filter, const MonitorLogOrder& order) {
  return "select top " + std::to_string(kMonitorLogRowLimit) + " * from fmlog" + whereClause(filter) +
         orderClause(order);
}

int qevLoadMonitorLog(const MonitorLogFilter& filter, const MonitorLogOrder& order,
                      std::vector<MonitorLogRow>& rows) {
  rows.clear();
  const int result = qevQueryRows(qevMonitorLogQuery(filter, order), [&rows](const StoreRow& stored) {
    rows.push_back(rowFrom(stored));
    return rows.size() < static_cast<std::size_t>(kMonitorLogRowLimit);
  });
  if (result != 1) rows.clear();
  return result;
}
