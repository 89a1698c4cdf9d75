#include <vector>

#include "cli/json_text.h"
#include "cli/listing.h"
#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/text_table.h"
#include "maintenance/logs/monitor_log_query.h"

namespace {

// The columns of the desktop program's monitor-log view that fit a terminal line.
const std::vector<TextColumn> kColumns = {{"序号", true},     {"服务器IP", false}, {"时间", false},
                                          {"动作", false},    {"文件类别", false}, {"文件大小", true},
                                          {"文件路径", false}};

void printText(Terminal& terminal, const std::vector<MonitorLogRow>& rows) {
  using namespace monitor_log_column;
  std::vector<std::vector<std::string>> texts;
  texts.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MonitorLogRow& row = rows[i];
    texts.push_back({std::to_string(i + 1), row.serverIp, qevMonitorLogCellText(row, kTime), row.action,
                     row.category, row.size, row.path});
  }
  for (const std::string& line : qevTextTableLines(kColumns, texts)) terminal.print(line);
}

std::string jsonObject(std::size_t number, const MonitorLogRow& row) {
  return qevJsonObject({
      {"number", std::to_string(number)},
      {"id", qevJsonString(row.key)},
      {"log_file", qevJsonString(row.logFile)},
      {"server_ip", qevJsonString(row.serverIp)},
      {"date", qevJsonString(row.date)},
      {"time", qevJsonString(row.time)},
      {"extension", qevJsonString(row.extension)},
      {"action", qevJsonString(row.action)},
      {"check", qevJsonString(row.check)},
      {"category", qevJsonString(row.category)},
      {"block", qevJsonString(row.block)},
      {"block_info", qevJsonString(row.blockInfo)},
      {"path", qevJsonString(row.path)},
      {"size", qevJsonString(row.size)},
      {"check_value", qevJsonString(row.checkValue)},
      {"type", qevJsonString(row.type)},
  });
}

void printJson(Terminal& terminal, const std::vector<MonitorLogRow>& rows) {
  std::vector<std::string> objects;
  objects.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) objects.push_back(jsonObject(i + 1, rows[i]));
  terminal.write(qevJsonArray(objects) + "\n");
}

int loadAll(std::vector<MonitorLogRow>& rows) { return qevLoadMonitorLog({}, {}, rows); }

int runLogs(const ParsedOptions& options, Terminal& terminal) {
  return qevRunListing<MonitorLogRow>(options, terminal, loadAll, printText, printJson);
}

}  // namespace

const Subcommand& qevLogsSubcommand() {
  static const Subcommand command{
      "logs",
      "logs [--json]",
      "list the imported monitor-log rows, newest first",
      "Lists the rows imported from the file-monitor logs of the servers (the desktop program's\n"
      "monitor-log view), newest first, at most 10,000: number, server ip, time, action, category,\n"
      "size and path.\n"
      "\n"
      "      --json    one JSON array of objects with the keys number, id, log_file, server_ip,\n"
      "                date, time, extension, action, check, category, block, block_info, path,\n"
      "                size, check_value and type (texts as stored)\n"
      "  -h, --help    show this help\n",
      {{"json", 0, false}},
      runLogs,
  };
  return command;
}
