#include <vector>

#include "cli/json_text.h"
#include "cli/listing.h"
#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/text_table.h"
#include "maintenance/records/record_query.h"

namespace {

// The column headers of the desktop program's record list.
constexpr const char* kNumberHeader = "序号";
constexpr const char* kKindHeader = "文件类别";
constexpr const char* kSizeHeader = "文件大小";
constexpr const char* kStateHeader = "状态";
constexpr const char* kPathHeader = "路径";

void printText(Terminal& terminal, const std::vector<RecordRow>& rows) {
  std::vector<std::vector<std::string>> cells;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RecordRow& row = rows[i];
    cells.push_back({std::to_string(i + 1), row.kind, row.size, row.state, row.path});
  }
  const std::vector<TextColumn> columns = {
      {kNumberHeader, true}, {kKindHeader, false}, {kSizeHeader, true}, {kStateHeader, false}, {kPathHeader, false}};
  for (const std::string& line : qevTextTableLines(columns, cells)) terminal.print(line);
}

void printJson(Terminal& terminal, const std::vector<RecordRow>& rows) {
  std::vector<std::string> objects;
  objects.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RecordRow& row = rows[i];
    objects.push_back(qevJsonObject({
        {"number", std::to_string(i + 1)},
        {"record_id", qevJsonString(row.recordId)},
        {"name", qevJsonString(row.name)},
        {"kind", qevJsonString(row.kind)},
        {"size", qevJsonString(row.size)},
        {"state", qevJsonString(row.state)},
        {"path", qevJsonString(row.path)},
    }));
  }
  terminal.write(qevJsonArray(objects) + "\n");
}

int runList(const ParsedOptions& options, Terminal& terminal) {
  return qevRunListing<RecordRow>(options, terminal, qevLoadRecordList, printText, printJson);
}

}  // namespace

const Subcommand& qevListSubcommand() {
  static const Subcommand command{
      "list",
      "list [--json]",
      "list the entries the last scan recorded",
      "Lists the entries the last scan recorded, as the desktop program lists them: number, kind,\n"
      "size, state and path. The numbers are the ones 'sorrel clean' takes.\n"
      "\n"
      "      --json    one JSON array of objects with the keys number, record_id, name, kind,\n"
      "                size, state and path (texts as the list shows them)\n"
      "  -h, --help    show this help\n",
      {{"json", 0, false}},
      runList,
  };
  return command;
}
