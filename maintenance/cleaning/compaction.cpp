#include "maintenance/cleaning/compaction.h"

#include <cstdio>
#include <ctime>
#include <random>
#include <string_view>

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/files/profile.h"
#include "common/files/settings.h"
#include "common/messages/prompter.h"
#include "common/process/process.h"
#include "common/store/datastore.h"
#include "common/text/ascii_case.h"
#include "common/text/check_value.h"
#include "common/text/trim.h"
#include "maintenance/cleaning/backup_directory.h"
#include "maintenance/cleaning/clean_request.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "maintenance/settings/config_lists.h"

namespace {

constexpr int kMaxListRows = 0x63fffff;
constexpr std::size_t kMaxCheckValue = 259;
constexpr int kSessionParts = 6;
constexpr int kSessionPartMax = 32767;

constexpr const char* kServiceLine =
    "\r\n\r\n\r\n如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";
constexpr const char* kEmptyListMessage = "请点“扫描数据库文件”，先搜索网站里的数据库文件！";
constexpr const char* kQuestion =
    "确定压缩搜索出来的全部数据库文件吗？\r\n\r\n特别说明：压缩前，会自动备份数据库文件到“D:\\qev_dot_file_backup”目录。"
    "压缩时会临时停止 IIS，压缩完成后会自动启动 IIS。";

struct Companion {
  const char* name;
  const char* checkValueMessage;  // the operator knows the companions by their Windows names
};
const Companion kCompanions[] = {
    {kAccessToolName, "文件“qevxconfig.exe”校验值错误，或无法访问，请重试！"},
    {kWebServerStopToolName, "文件“qeviisreset.exe”校验值错误，或无法访问，请重试！"},
};

// Six numbers of a generator seeded with the time in seconds, printed one after the other.
std::string sessionNumber() {
  std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
  std::uniform_int_distribution<int> part(0, kSessionPartMax);
  std::string number;
  for (int i = 0; i < kSessionParts; ++i) number += std::to_string(part(generator));
  return number;
}

// file:// address of an absolute path: bytes other than letters, digits, "/" and "-._~" are
// percent-encoded, so that a blank, "#" or "?" in the program directory stays part of the path.
std::string fileAddress(const std::string& path) {
  std::string address = "file://";
  for (const char c : path) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
                       std::string_view("/-._~").find(c) != std::string_view::npos;
    if (plain) {
      address += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      address += escaped;
    }
  }
  return address;
}

// True when both companions are present and match their check values; else the operator was told.
bool companionsVerified(Prompter& prompter, const std::string& programDir) {
  for (const Companion& companion : kCompanions) {
    const std::string path = qevCollapseSeparators(programDir + "/" + companion.name);
    if (qevPathExists(path) != 1) {
      prompter.inform("文件“" + path + "”未找到，或无法访问，请重试！" + kServiceLine, MessageIcon::Question);
      return false;
    }
    if (qevVerifyCompanionExe(programDir, companion.name, kConfigFolder) != 1) {
      prompter.inform(std::string(companion.checkValueMessage) + kServiceLine, MessageIcon::Question);
      return false;
    }
  }
  return true;
}

}  // namespace

int qevCheckHelpPage(Prompter& prompter, std::string& helpUrl) {
  helpUrl.clear();
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Stop);
    return 0;
  }
  const std::string session = sessionNumber();
  const std::string configDir = qevConfigDirectoryOf(programDir);
  const std::string page = qevConfigFilePath(configDir, kHelpPageName);
  if (qevPathExists(page) != 1) {
    prompter.inform("读取配置文件 " + page + " 失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  std::string stored = qevTrimWhiteSpace(
      qevReadProfileString(qevConfigFilePath(configDir, kHelpCheckFileName), kSettingsSection, "FileChkVal", "0"));
  if (stored.size() > kMaxCheckValue) stored.resize(kMaxCheckValue);
  std::string computed;
  if (qevFileCheckValue(page, kCheckName, computed) != 1) {
    prompter.inform("计算文件 " + page + " 校验值失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  if (!qevEqualsIgnoringAsciiCase(computed, stored)) {
    prompter.inform("文件 " + page + " 校验值不一致，请重试！", MessageIcon::Stop);
    return 0;
  }
  helpUrl = fileAddress(page) + "?SessionId=" + session;
  return 1;
}

CompactionStart qevBeginCompaction(Prompter& prompter, int listRows,
                                   const std::function<void(const std::string& helpUrl)>& showHelpPage) {
  if (listRows <= 0 || listRows > kMaxListRows) {
    prompter.inform(kEmptyListMessage, MessageIcon::Question);
    return {};
  }
  std::string helpUrl;
  if (qevCheckHelpPage(prompter, helpUrl) != 1) return {};
  if (showHelpPage) showHelpPage(helpUrl);
  if (!prompter.askYesNo(kQuestion)) return {};
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return {};
  }
  if (!companionsVerified(prompter, programDir)) return {};
  return CompactionStart{true, {qevCollapseSeparators(programDir + "/" + kWebServerStopToolName), "/stop"}};
}

bool qevStopWebServer(const CompactionStart& start, const std::function<bool()>& giveUp) {
  if (!start.confirmed || start.stopCommand.empty()) return false;
  return qevRunProgramUntil(start.stopCommand, giveUp) != 2;
}

void qevRaiseCompactionRequest(Prompter& prompter) {
  // A busy or failing store marks nothing: no pass would compact anything, so none is announced.
  if (qevExecuteSql("update fileinfo set CompactDatabase = '2', filesize2 = '0'") != 1) {
    prompter.inform(kMarkingFailedMessage, MessageIcon::Question);
    return;
  }
  qevRaiseCleaningRequest();
  prompter.inform(kCompactionStartedMessage, MessageIcon::Information);
}
