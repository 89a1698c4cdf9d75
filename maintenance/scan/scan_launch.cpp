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

// True: go on with the scan list; otherwise the command ends here.
bool noScannerRunning(Prompter& prompter) {
  const std::string name = qevScannerName();
  switch (qevGetProcessList(name)) {
    case 2:
      return true;
    case 1:
      if (!prompter.askYesNo(kScanRunningQuestion)) qevTerminateProcess(name);
      return false;
    default:
      prompter.inform("判断文件扫描程序“" + name + "”是否启动失败，请重试！" + kServiceLine, MessageIcon::Question);
      return false;
  }
}

void withdrawCleaningRequest() {
  qevWriteSetting(kCleaningRequestKey, "0");
  qevCleaningActive().set(0);
}

void startVerifiedScanner(Prompter& prompter, const std::string& programDir) {
  const std::string name = qevScannerName();
  const std::string scanner = qevCollapseSeparators(programDir + "/" + name);
  if (qevPathExists(scanner) != 1) {
    prompter.inform("文件扫描程序“" + scanner + "”未找到，或无法访问，请重试！" + kServiceLine, MessageIcon::Question);
    return;
  }
  if (qevVerifyCompanionExe(programDir, name, kConfigFolder) != 1) {
    prompter.inform("文件扫描程序“" + name + "”校验值错误，或无法访问，请重试！" + kServiceLine, MessageIcon::Question);
    return;
  }
  if (qevRunProgramInTerminal({scanner, "/FileScan"}) == 0) {
    prompter.inform("启动文件扫描程序“" + scanner + " /FileScan”失败，请重试！" + kServiceLine, MessageIcon::Question);
  }
}

}  // namespace

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
  if (!noScannerRunning(prompter)) return;
  if (!editScanList()) return;
  withdrawCleaningRequest();
  startVerifiedScanner(prompter, programDir);
}
