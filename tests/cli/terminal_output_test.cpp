// What sorrel puts on the terminal and into JSON: names from disk can neither steer the terminal
// nor break the JSON, and nothing of them is lost in JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/json_text.h"
#include "cli/scanner_output.h"
#include "cli/terminal.h"

namespace {

std::string contentOf(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  return text;
}

struct CapturedTerminal {
  explicit CapturedTerminal(bool onTerminal) {
    Terminal::Streams streams;
    streams.out = out;
    streams.err = err;
    streams.outIsTerminal = onTerminal;
    streams.columns = 80;
    terminal = std::make_unique<Terminal>("scan", streams);
  }
  ~CapturedTerminal() {
    std::fclose(out);
    std::fclose(err);
  }
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  std::unique_ptr<Terminal> terminal;
};

TEST(JsonText, EscapesWhatJsonMustAndKeepsEveryByteOfANameThatIsNotUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"con.asp", "\"con.asp\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"aux.\nx\t\r", "\"aux.\\nx\\t\\r\""},
      {std::string("\x1b[2J\x7f", 5), "\"\\u001b[2J\\u007f\""},
      {"目录 é", "\"目录 é\""},
      {"nul.\xff", "\"nul.\\udcff\""},
      {"\xe7\x9b", "\"\\udce7\\udc9b\""},          // a sequence cut short
      {"\xc0\x80", "\"\\udcc0\\udc80\""},          // an overlong NUL
      {"\xed\xa0\x80", "\"\\udced\\udca0\\udc80\""},  // a surrogate written as UTF-8
      {std::string("a\0b", 3), "\"a\\u0000b\""},
  };
  for (const auto& [text, json] : cases) {
    SCOPED_TRACE(json);
    EXPECT_EQ(qevJsonString(text), json);
  }
  EXPECT_EQ(qevJsonObject({{"number", "1"}, {"path", qevJsonString("/a")}}), "{\"number\": 1, \"path\": \"/a\"}");
}

TEST(TerminalText, ControlCharactersOfNamesAreShownAsQuestionMarks) {
  EXPECT_EQ(qevPrintableText("a\x1b[31mb\x7f\xc2\x9b" "c\x9b", false), "a?[31mb??c?");
  EXPECT_EQ(qevPrintableText("line\nnext\ttab", true), "line\nnext\ttab");
  EXPECT_EQ(qevPrintableText("line\nnext", false), "line?next");
  EXPECT_EQ(qevPrintableText("未处理 \xff", false), "未处理 \xff");
  EXPECT_EQ(qevDisplayWidth("未处理 ok"), 9u);
}

TEST(TerminalText, AFailureIsOneLineWithTheCommandBeforeIt) {
  CapturedTerminal captured(false);
  captured.terminal->fail("文件扫描程序校验值错误！\r\n\r\n\r\n请联系我们。\x1b]0;x\x07");
  EXPECT_TRUE(captured.terminal->reportedFailure());
  EXPECT_EQ(captured.terminal->failOnce("a second reason"), 1);
  EXPECT_EQ(contentOf(captured.err), "sorrel scan: 文件扫描程序校验值错误！ 请联系我们。?]0;x?\n");
  EXPECT_EQ(contentOf(captured.out), "");
}

// The scanner's output as it arrives through the pipe, cut anywhere.
void feed(ScannerOutput& output, const std::string& text) {
  for (std::size_t at = 0; at < text.size(); at += 7) output.take(text.data() + at, std::min<std::size_t>(7, text.size() - at));
  output.finish();
}

const std::string kScannerOutput =
    "\r\n\r\n┃   Sorrelwall·特殊文件扫描服务   ┃\r\n\r\n\r\n\r\n当前填写的扫描目录 1 - /srv/www"
    "\r\n扫描目录 1 - img ...\r\n扫描文件 2 - a\x1b[2Jb ...\r\n\r\n\r\n扫描文件完成，累计扫描 1 个目录，1 个文件，用时 0 秒"
    "\r\n\r\n其中包含特殊字符或带点的目录 0 个，文件 0 个\r\n\r\n\r\n\r\n请关闭当前窗口...\r\n";

TEST(ScannerOutput, InAPipeOnlyTheBannerListAndSummaryAreShown) {
  CapturedTerminal captured(false);
  ScannerOutput output(*captured.terminal);
  feed(output, kScannerOutput);
  EXPECT_EQ(contentOf(captured.out),
            "┃   Sorrelwall·特殊文件扫描服务   ┃\n\n当前填写的扫描目录 1 - /srv/www\n\n"
            "扫描文件完成，累计扫描 1 个目录，1 个文件，用时 0 秒\n\n其中包含特殊字符或带点的目录 0 个，文件 0 个\n");
}

TEST(ScannerOutput, OnATerminalProgressIsOneLineThatIsClearedBeforeTheSummary) {
  CapturedTerminal captured(true);
  ScannerOutput output(*captured.terminal);
  feed(output, kScannerOutput);
  const std::string shown = contentOf(captured.out);
  EXPECT_NE(shown.find("\r扫描目录 1 - img ...\033[K"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r\033[K\n扫描文件完成"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\x1b[2J"), std::string::npos) << "a name steered the terminal";
  EXPECT_EQ(shown.find("请关闭当前窗口"), std::string::npos);
}

}  // namespace
