#include "maintenance/scan/scan_launch.h"

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "common/messages/prompter.h"
#include "common/process/process.h"
#include "maintenance/cleaning/cleaning_state.h"

namespace {

constexpr const char* kServiceLine =
    "\r\n\r\n\r\n如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";
constexpr const char* kScanRunningQuestion =
    "当前正在扫描网站目录里的文件\r\n\r\n\r\n点“是”，继续等待扫描完成\r\n\r\n点“否”，立刻结束扫描并返回";

std::string& scannerNameOverride() {
  static std::string name;
  return name;
}

}  // namespace

bool qevNoScannerRunning(Prompter& prompter, const std::string& programDir) {
  const std::string name = qevScannerName();
  switch (qevGetProcessList(programDir, name)) {
    case 2:
      return true;
    case 1:
      if (!prompter.askYesNo(kScanRunningQuestion)) qevTerminateProcess(programDir, name);
      return false;
    default:
      prompter.inform("判断文件扫描程序“" + name + "”是否启动失败，请重试！" + kServiceLine, MessageIcon::Question);
      return false;
  }
}

void qevWithdrawCleaningRequest() {
  qevWriteSetting(kCleaningRequestKey, "0");
  qevCleaningActive().set(0);
}

std::string qevVerifiedScannerPath(Prompter& prompter, const std::string& programDir) {
  const std::string name = qevScannerName();
  const std::string scanner = qevCollapseSeparators(programDir + "/" + name);
  if (qevPathExists(scanner) != 1) {
    prompter.inform("文件扫描程序“" + scanner + "”未找到，或无法访问，请重试！" + kServiceLine, MessageIcon::Question);
    return {};
  }
  if (qevVerifyCompanionExe(programDir, name, kConfigFolder) != 1) {
    prompter.inform("文件扫描程序“" + name + "”校验值错误，或无法访问，请重试！" + kServiceLine, MessageIcon::Question);
    return {};
  }
  return scanner;
}

namespace {

void startVerifiedScanner(Prompter& prompter, const std::string& programDir) {
  const std::string scanner = qevVerifiedScannerPath(prompter, programDir);
  if (scanner.empty()) return;
  if (qevRunProgramInTerminal({scanner, "/FileScan"}) == 0) {
    prompter.inform(qevScannerStartFailedMessage(scanner + " /FileScan"), MessageIcon::Question);
  }
}

}  // namespace

std::string qevScannerStartFailedMessage(const std::string& commandLine) {
  return "启动文件扫描程序“" + commandLine + "”失败，请重试！" + kServiceLine;
}

std::string qevScannerName() {
  return scannerNameOverride().empty() ? std::string(kScannerExeName) : scannerNameOverride();
}

void qevSetScannerNameForTesting(const std::string& name) { scannerNameOverride() = name; }

void qevLaunchScan(Prompter& prompter, const ScanListEditor& editScanList) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  if (!qevNoScannerRunning(prompter, programDir)) return;
  if (!editScanList()) return;
  qevWithdrawCleaningRequest();
  startVerifiedScanner(prompter, programDir);
}
