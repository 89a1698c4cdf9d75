// The list step against the scripted agent: the body bounds, the line rules, names that could
// leave the download directory, and keyword faults.
#include "maintenance/logs/agent_fixture.h"

namespace {

constexpr const char* kHead = "qevkeyword=1000\r\n\r\n";

// A body of exactly size bytes: one file line, then a filler line of "x".
std::string bodyOfSize(std::size_t size) {
  std::string body = "f_FMLog.txt\t20\t99\r\n";
  if (size < body.size() + 2) return std::string(size, 'y');
  body += std::string(size - body.size() - 2, 'x') + "\r\n";
  return body;
}

struct Listed {
  int result;
  std::vector<AgentLogFile> files;
};

class ListingTest : public AgentTest {
 protected:
  ListingTest() { addLog("a_FMLog_20261210.txt", "line one of the log\r\n"); }

  Listed listWithAnswer(const std::string& answer) {
    startAgent({"--answer", "list:" + answerFile(answer)});
    Listed listed{};
    listed.files = listFiles(openSession(), listed.result);
    return listed;
  }
};

TEST_F(ListingTest, BodyLengthMustBeTenToTenMebibytes) {
  struct Case {
    std::size_t size;
    int result;
  };
  for (const Case c : {Case{9, 0}, Case{10, 1}, Case{10'485'760, 1}, Case{10'485'761, 0}}) {
    SCOPED_TRACE(c.size);
    const Listed listed = listWithAnswer(kHead + bodyOfSize(c.size));
    EXPECT_EQ(listed.result, c.result);
    if (c.result == 0) {
      EXPECT_TRUE(listed.files.empty());
    }
  }
  startAgent({"--fault", "list:huge-body"});
  int result = 1;
  EXPECT_TRUE(listFiles(openSession(), result).empty());
  EXPECT_EQ(result, 0);
}

TEST_F(ListingTest, LinesAreTrimmedAndNeedTenBytesAndThreeFields) {
  const std::string body =
      "  a_FMLog_1.txt\t120\t3735928559  \r\n"  // blanks around: trimmed
      "a\tb\tc\r\n"                             // three fields but 5 bytes
      "b_FMLog_2.txt\t120\r\n"                  // two fields
      "c_FMLog_3.txt\t\t\tmore\r\n"             // empty size and CRC: accepted
      "\n\n\r\r"
      "d_FMLog_4.txt\t7\t8\textra\tfields\n"  // further fields ignored
      "\t\t\t\t\t\t\t\t\t\t\r\n";             // only TABs: trimmed away
  const Listed listed = listWithAnswer(kHead + body);
  EXPECT_EQ(listed.result, 1);
  ASSERT_EQ(listed.files.size(), 3u);
  EXPECT_EQ(listed.files[0].name, "a_FMLog_1.txt");
  EXPECT_EQ(listed.files[0].sizeText, "120");
  EXPECT_EQ(listed.files[0].crcText, "3735928559");
  EXPECT_EQ(listed.files[1].name, "c_FMLog_3.txt");
  EXPECT_EQ(listed.files[1].sizeText, "");
  EXPECT_EQ(listed.files[1].crcText, "");
  EXPECT_EQ(listed.files[2].name, "d_FMLog_4.txt");
  EXPECT_EQ(listed.files[2].crcText, "8");
}

TEST_F(ListingTest, WithoutHeadSeparatorTheBodyStartsAtByteThree) {
  // The keyword line still counts; the body is "keyword=1000\n..." and its first line has no TAB.
  const Listed listed = listWithAnswer("qevkeyword=1000\ne_FMLog_5.txt\t30\t40\r\n");
  EXPECT_EQ(listed.result, 1);
  ASSERT_EQ(listed.files.size(), 1u);
  EXPECT_EQ(listed.files[0].name, "e_FMLog_5.txt");
}

TEST_F(ListingTest, NamesThatAreNoPlainFileNameAreSkipped) {
  std::string body;
  for (const std::string& name :
       std::vector<std::string>{"sub/x_FMLog.txt", "sub\\x_FMLog.txt", "../x_FMLog.txt", "..", "x_FMLog..txt",
                                std::string("x_FM\x01Log.txt"), "it's_FMLog.txt"}) {
    body += name + "\t20\t30\r\n";
  }
  const Listed listed = listWithAnswer(kHead + body);
  EXPECT_EQ(listed.result, 1);
  ASSERT_EQ(listed.files.size(), 1u);
  EXPECT_EQ(listed.files[0].name, "it's_FMLog.txt");

  startAgent({"--fault", "list:bad-names"});
  int result = 0;
  const std::vector<AgentLogFile> files = listFiles(openSession(), result);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "a_FMLog_20261210.txt");
}

TEST_F(ListingTest, AgentListsItsFilesWithSizeAndCrc) {
  const std::string content = "2026-12-10\t12:00:00\tadd\t/srv/www/a.php\r\n";
  addLog("b_FMLog_20261211.txt", content);
  startAgent();
  int result = 0;
  const std::vector<AgentLogFile> files = listFiles(openSession(), result);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].name, "b_FMLog_20261211.txt");
  EXPECT_EQ(files[1].sizeText, std::to_string(content.size()));
  EXPECT_EQ(files[1].crcText, crcOf(content));
}

TEST_F(ListingTest, KeywordFaultsFailTheListWithoutFiles) {
  for (const char* fault : {"list:no-keyword", "list:wrong-keyword", "list:empty"}) {
    SCOPED_TRACE(fault);
    startAgent({"--fault", fault});
    int result = 1;
    EXPECT_TRUE(listFiles(openSession(), result).empty());
    EXPECT_EQ(result, 0);
  }
}

}  // namespace
