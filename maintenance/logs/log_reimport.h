#pragma once
#include <functional>
#include <string>

class Prompter;

// Command 1017: imports again every log file of the download directory that was not marked as
// imported. Each file's rows replace the rows it gave before (by fid), so importing twice never
// doubles them.

// Where a stored log came from, read back from its name "_" + ip + "_" + listed name. 1 and both
// parts; 0 when the name lacks that shape, the ip part is not 7..15 bytes or the listed name
// not 3..255 bytes.
int qevLogFileOrigin(const std::string& fileName, std::string& ip, std::string& listedName);

enum class ReimportOutcome {
  Imported,         // read and its rows committed
  NotStored,        // read, but the store refused the rows; the rows it had stay
  Unreadable,       // could not be read
  NameNotUnderstood,  // the name does not tell the server and the listed name
  MarkedImported,   // its downloadinfo row says it was imported: left alone
};

struct ReimportHooks {
  std::function<void(const std::string& path, ReimportOutcome outcome)> onFile;  // may be empty
};

// Asks "确定将先前下载的日志文件重新导入到数据库中吗？", then imports the files in listing order.
// 1 done (every file went to onFile); 2 not confirmed; 0 no log file was found (the operator was
// told "日志文件未找到，请重新下载日志文件！").
int qevReimportLogFiles(Prompter& prompter, const ReimportHooks& hooks = {});

// The line of one file for a listing ("已重新导入：<path>" ...).
std::string qevReimportOutcomeText(const std::string& path, ReimportOutcome outcome);
