#pragma once
#include <string>

// Rows of table fmlog written directly, as an import writes them, for the tests of what reads
// them. Every field is quoted, so any text (apostrophes included) is stored as it is.
struct LogRowFields {
  std::string serverIp = "192.168.1.10";
  std::string date = "2026-12-10";
  std::string time = "10:00:00";
  std::string action = "新建";
  std::string category = "正常文件";
  std::string blockInfo;
  std::string path = "/srv/www/index.php";
  std::string size = "100";
  std::string checkValue;
};

// Inserts the row and answers its key (the id the store gave it).
std::string insertMonitorLogRow(const LogRowFields& fields);
