// The scan command of the main window with real processes: a scanner that runs (kept or ended
// on the operator's answer), one that is missing, one whose check value is wrong, and one that
// starts. Stand-in scanners carry a name of this test process's own, so ending "every scanner"
// never reaches processes of other tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/files/settings.h"
#include "common/process/process.h"
#include "common/text/check_value.h"
#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/scan_command.h"
#include "console/scan_config_dlg.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "maintenance/scan/scan_launch.h"

namespace fs = std::filesystem;

namespace {

const std::string kServiceLine =
    "\r\n\r\n\r\n如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";
const std::string kRunningQuestion =
    "当前正在扫描网站目录里的文件\r\n\r\n\r\n点“是”，继续等待扫描完成\r\n\r\n点“否”，立刻结束扫描并返回";

bool waitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 100; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

void writeCheckValueFile(const std::string& programDir, const std::string& name, const std::string& value) {
  std::ofstream(programDir + "config/" + name + ".in", std::ios::binary) << "[Sorrelscan]\r\nFileChkVal=" << value << "\r\n";
}

class ScanCommandTest : public MainWindowTest {
 protected:
  ScanCommandTest() : scanner_("Sorrelscan" + std::to_string(getpid())) {
    unsetenv("DISPLAY");  // the scanner starts detached, not in a terminal window
    unsetenv("WAYLAND_DISPLAY");
    qevSetScannerNameForTesting(scanner_);
    qevSetScanDialogRunnerForTesting([this](CScanConfigDlg&) {
      ++dialogsShown_;
      return dialogResult_;
    });
    openWindow();
    qevInstallModuleCommands(*window);
  }
  ~ScanCommandTest() override {
    qevTerminateProcess(programDir.path(), scanner_);
    qevSetScannerNameForTesting("");
    qevSetScanDialogRunnerForTesting(nullptr);
    qevCleaningActive().set(0);
  }

  std::string scannerPath() const { return programDir.path() + scanner_; }

  // A running program of the scanner's name.
  void startStandIn() {
    fs::copy_file("/bin/sleep", scannerPath());
    ASSERT_EQ(qevRunProgram({scannerPath(), "60"}, 0), 1);
    ASSERT_TRUE(waitFor([this] { return qevGetProcessList(programDir.path(), scanner_) == 1; }));
  }

  // A scanner that records its arguments, with its check value.
  void installRecordingScanner(bool rightCheckValue) {
    // The record appears whole (written aside, then renamed), so a test never reads it half written.
    const std::string record = programDir.path() + "started";
    std::ofstream(scannerPath()) << "#!/bin/sh\necho \"$@\" > '" << record << ".tmp' && mv '" << record
                                 << ".tmp' '" << record << "'\n";
    fs::permissions(scannerPath(), fs::perms::owner_all);
    std::string value;
    ASSERT_EQ(qevFileCheckValue(scannerPath(), kCheckName, value), 1);
    writeCheckValueFile(programDir.path(), scanner_, rightCheckValue ? value : std::string(32, '0'));
  }

  const std::string scanner_;
  int dialogsShown_ = 0;
  int dialogResult_ = QDialog::Accepted;
};

TEST_F(ScanCommandTest, RunningScannerIsKeptOnYesAndEndedOnNoWithoutOpeningTheDialog) {
  startStandIn();
  prompter.answerNext(PromptAnswer::Yes);
  window->dispatchCommand(command_id::kScan);
  EXPECT_EQ(qevGetProcessList(programDir.path(), scanner_), 1);

  prompter.answerNext(PromptAnswer::No);
  window->dispatchCommand(command_id::kScan);
  EXPECT_TRUE(waitFor([this] { return qevGetProcessList(programDir.path(), scanner_) == 2; }));

  EXPECT_EQ(dialogsShown_, 0);
  ASSERT_EQ(prompter.shown().size(), 2u);
  for (const auto& shown : prompter.shown()) {
    EXPECT_EQ(shown.text, kRunningQuestion);
    EXPECT_EQ(shown.buttons, PromptButtons::YesNo);
  }
}

TEST_F(ScanCommandTest, AnotherInstallationsScannerOfTheSameNameIsNeitherAskedAboutNorEnded) {
  TemporaryDir otherInstallation;
  const std::string theirs = otherInstallation.path() + "/" + scanner_;
  fs::copy_file("/bin/sleep", theirs);
  ASSERT_EQ(qevRunProgram({theirs, "60"}, 0), 1);
  ASSERT_TRUE(waitFor([&] { return qevGetProcessList(otherInstallation.path(), scanner_) == 1; }));
  dialogResult_ = QDialog::Rejected;

  window->dispatchCommand(command_id::kScan);

  EXPECT_EQ(dialogsShown_, 1);
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_EQ(qevGetProcessList(otherInstallation.path(), scanner_), 1) << "the other installation's scanner was ended";
  qevTerminateProcess(otherInstallation.path(), scanner_);
}

TEST_F(ScanCommandTest, CancelledDialogLeavesTheCleaningRequestAlone) {
  qevWriteSetting("CompactDatabase", "1");
  qevCleaningActive().set(1);
  dialogResult_ = QDialog::Rejected;
  window->dispatchCommand(command_id::kScan);
  EXPECT_EQ(dialogsShown_, 1);
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 1);
  EXPECT_EQ(qevCleaningActive().get(), 1);
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ScanCommandTest, AcceptedDialogWithdrawsCleaningAndStartsOnlyAVerifiedScanner) {
  enum class Scanner { Missing, WrongCheckValue, Verified };
  struct Case {
    const char* name;
    Scanner scanner;
    std::string message;  // "" when it starts
  };
  const Case cases[] = {
      {"missing", Scanner::Missing, "文件扫描程序“" + scannerPath() + "”未找到，或无法访问，请重试！" + kServiceLine},
      {"wrong check value", Scanner::WrongCheckValue,
       "文件扫描程序“" + scanner_ + "”校验值错误，或无法访问，请重试！" + kServiceLine},
      {"verified", Scanner::Verified, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter.clear();
    fs::remove(scannerPath());
    fs::remove(programDir.path() + "started");
    if (c.scanner != Scanner::Missing) installRecordingScanner(c.scanner == Scanner::Verified);
    qevWriteSetting("CompactDatabase", "1");
    qevCleaningActive().set(1);

    window->dispatchCommand(command_id::kScan);

    EXPECT_EQ(qevReadSettingInt("CompactDatabase", 1), 0);
    EXPECT_EQ(qevCleaningActive().get(), 0);
    if (c.message.empty()) {
      EXPECT_TRUE(prompter.shown().empty());
      EXPECT_TRUE(waitFor([this] { return fs::exists(programDir.path() + "started"); }));
      std::ifstream started(programDir.path() + "started");
      std::string arguments;
      std::getline(started, arguments);
      EXPECT_EQ(arguments, "/FileScan");
    } else {
      ASSERT_EQ(prompter.shown().size(), 1u);
      EXPECT_EQ(prompter.shown()[0].text, c.message);
      EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
      EXPECT_FALSE(fs::exists(programDir.path() + "started"));
    }
  }
}

}  // namespace
