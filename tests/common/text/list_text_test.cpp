#include "common/text/list_text.h"

#include <gtest/gtest.h>

namespace {

struct NormalizeCase {
  const char* name;
  std::string text;
  std::size_t minLength;
  std::size_t maxLength;
  bool lowerCase;
  bool directoryList;
  std::string expected;
  int expectedCount;
};

TEST(NormalizeListText, KeepsTrimmedDistinctLinesInOrder) {
  const NormalizeCase cases[] = {
      {"blank and empty lines vanish", "\r\n  /srv/www  \r\n\t\r\n\r\n/srv/app\r\n", 1, 260, false, true,
       "/srv/www\r\n/srv/app\r\n", 2},
      {"text without line end is one line", "/srv/www", 1, 260, false, true, "/srv/www\r\n", 1},
      {"directory lines compare exactly", "/srv/Www\r\n/srv/www\r\n/srv/Www\r\n", 1, 260, false, true,
       "/srv/Www\r\n/srv/www\r\n", 2},
      {"other lists ignore case, first form kept", "http://A.example/x\r\nhttp://a.example/X\r\n", 1, 260,
       false, false, "http://A.example/x\r\n", 1},
      {"lower-casing applies before the duplicate check", "ASP\r\nasp\r\nPhp\r\n", 1, 260, true, false,
       "asp\r\nphp\r\n", 2},
      {"length bounds are inclusive", "a\r\nbb\r\nccc\r\ndddd\r\n", 2, 3, false, false, "bb\r\nccc\r\n", 2},
      {"bare lone LF is not a separator", "/a\n/b", 1, 260, false, true, "/a\n/b\r\n", 1},
      {"multi-byte names keep their bytes", "/srv/网站\r\n/srv/网站 \r\n", 1, 260, true, true,
       "/srv/网站\r\n", 1},
  };
  for (const NormalizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string normalized;
    std::vector<std::string> lines;
    int count = -1;
    ASSERT_EQ(qevNormalizeListText(c.text, c.minLength, c.maxLength, c.lowerCase, c.directoryList,
                                   normalized, lines, count),
              1);
    EXPECT_EQ(normalized, c.expected);
    EXPECT_EQ(count, c.expectedCount);
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(c.expectedCount));
  }
}

TEST(NormalizeListText, RefusesWithEmptyOutputs) {
  struct Refusal {
    const char* name;
    std::string text;
    std::size_t minLength;
    std::size_t maxLength;
  };
  const Refusal cases[] = {
      {"empty text", "", 1, 260},
      {"minimum not below maximum", "/srv/www", 5, 5},
      {"text of 100 MiB", std::string(0x6400000, 'a'), 1, 260},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    std::string normalized = "old";
    std::vector<std::string> lines{"old"};
    int count = 7;
    EXPECT_EQ(qevNormalizeListText(c.text, c.minLength, c.maxLength, false, true, normalized, lines, count), 0);
    EXPECT_TRUE(normalized.empty());
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(count, 0);
  }
}

TEST(NormalizeListText, DropsLinesOfOneMebibyteOrMore) {
  const std::string longLine(0x100000, 'x');
  std::string normalized;
  std::vector<std::string> lines;
  int count = 0;
  ASSERT_EQ(qevNormalizeListText(longLine + "\r\n/srv/www", 1, 0x200000, false, true, normalized, lines, count), 1);
  EXPECT_EQ(normalized, "/srv/www\r\n");
}

}  // namespace
