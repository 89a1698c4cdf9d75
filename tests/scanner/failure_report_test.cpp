// How a scanner failure reaches the console, the system log and the run log.
#include <gtest/gtest.h>

#include "common/messages/event_report.h"
#include "scanner/console_output.h"
#include "scanner/failure_report.h"
#include "scanner_fixture.h"

namespace {

struct FailureCase {
  const char* consoleText;
  MessagePlace place;
  // The insertion strings of the system-log report.
  const char* first;
  const char* second;
};

TEST(FailureReport, ReachesConsoleSystemLogAndRunLogWithTheTextWithoutItsLineBreak) {
  const FailureCase cases[] = {
      {"\r\n未输入启动参数，运行失败！", MessagePlace::First, "未输入启动参数，运行失败！", ""},
      {"\r\n读取数据库时发生错误，请重试！", MessagePlace::Second, "Sorrelscan",
       "读取数据库时发生错误，请重试！"},
  };
  for (const FailureCase& c : cases) {
    TemporaryProgramDir programDir;
    std::vector<std::string> events;
    qevSetEventReportObserver([&](const std::string& message) { events.push_back(message); });
    char* printed = nullptr;
    std::size_t printedSize = 0;
    std::FILE* stream = open_memstream(&printed, &printedSize);
    ASSERT_NE(stream, nullptr);
    {
      ConsoleOutput console(stream);
      ReportFailure(console, c.consoleText, c.place);
    }
    std::fclose(stream);
    const std::string output(printed, printedSize);
    std::free(printed);
    qevSetEventReportObserver(nullptr);

    EXPECT_EQ(output, c.consoleText);
    EXPECT_EQ(events, std::vector<std::string>{qevFormatEvent(c.first, c.second, "")});
    const std::string log = scanner_test::readFile(programDir.path() + "__Sorrelscan.log");
    const std::string line = std::string(" - ") + (c.consoleText + 2) + "\r\n";
    EXPECT_NE(log.find(line), std::string::npos) << log;
  }
}

}  // namespace
