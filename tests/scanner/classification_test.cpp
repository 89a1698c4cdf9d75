// Which names the scanner treats as special, and how its two reserved-name tables are built.
#include <gtest/gtest.h>

#include "common/text/text_codec.h"
#include "scanner/reserved_names.h"
#include "support/files.h"

namespace {

struct NameCase {
  const char* name;
  bool special;
};

const NameCase kNameCases[] = {
    // Reserved device names, any case.
    {"CON", true}, {"con", true}, {"Com1", true}, {"LPT9", true}, {"nul", true}, {"aUx", true},
    {"prn", true}, {"com9", true}, {"lpt1", true},
    // Near misses of reserved names.
    {"com0", false}, {"com10", false}, {"lpt", false}, {"conx", false}, {"co", false},
    {"xcon", false}, {"lpt0", false},
    // A reserved name followed by a dot and anything.
    {"con.txt", true}, {"AUX.tar.gz", true}, {"nul.", true}, {"Lpt3.log", true},
    {"COM1.", true}, {"prn.html", true},
    {"con .txt", false}, {"conx.txt", false}, {"lpt10.txt", false}, {"com0.txt", false},
    {"xcon.txt", false},
    // Names ending in a dot or a space.
    {"abc.", true}, {"abc ", true}, {"a.", true}, {"b ", true}, {".", true}, {" ", true},
    {"a b.txt", false}, {"a.b", false}, {".htaccess", false}, {"index.html", false},
    // Only A-Z fold: other letters compare exactly.
    {"ＣＯＮ", false}, {"cön.txt", false},
    // Non-ASCII after a reserved prefix is still special; names without dots or blanks are not.
    {"con.中文", true}, {"中文.", true}, {"中文", false}, {"readme", false},
};

TEST(Classification, NamesAreSpecialExactlyWhenTheShellCannotHandleThem) {
  ReservedNames names;
  names.build();
  for (const NameCase& c : kNameCases) {
    EXPECT_EQ(names.isSpecial(wide(c.name)), c.special) << '"' << c.name << '"';
  }
}

TEST(Classification, NonUtf8NameIsClassifiedOnItsEscapedUnits) {
  ReservedNames names;
  names.build();
  EXPECT_TRUE(names.isSpecial(wide("con.\xff\xfe")));
  EXPECT_TRUE(names.isSpecial(wide("\xff.")));
  EXPECT_FALSE(names.isSpecial(wide("\xff\xfe")));
}

TEST(ReservedNameTables, HoldTheTwentyTwoNamesOfEachListInOrder) {
  ReservedNames names;
  names.build();
  const std::vector<std::string> plain = PlainReservedNames();
  const std::vector<std::string> dotted = DottedReservedNames();
  ASSERT_EQ(plain.size(), 22u);
  ASSERT_EQ(dotted.size(), 22u);
  EXPECT_EQ(plain.front(), "con");
  EXPECT_EQ(plain[4], "COM1");
  EXPECT_EQ(plain.back(), "LPT9");
  EXPECT_EQ(dotted[3], "nul.");
  EXPECT_EQ(dotted.back(), "LPT9.");
  for (std::size_t i = 0; i < ReservedNameTable::kSlots; ++i) {
    const bool used = i < 22;
    EXPECT_EQ(names.plain.slots()[i].used, used ? 1u : 0u) << i;
    EXPECT_EQ(names.dotted.slots()[i].used, used ? 1u : 0u) << i;
    if (used) {
      EXPECT_EQ(names.plain.slots()[i].name, wide(plain[i]));
      EXPECT_EQ(names.dotted.slots()[i].name, wide(dotted[i]));
    }
  }
}

TEST(ReservedNameTables, SkipNamesOutsideTheLengthRulesAndStopWhenFull) {
  ReservedNameTable table;
  // 31 bytes fits; 32 bytes does not; an empty name does not. Eleven 3-byte characters are
  // 33 ANSI bytes (too long) although only 11 wide characters.
  const std::string fits(31, 'a');
  const std::string tooLong(32, 'b');
  std::string wideShortAnsiLong;
  for (int i = 0; i < 11; ++i) wideShortAnsiLong += "中";
  table.fill({"", tooLong, fits, wideShortAnsiLong, "x"});
  EXPECT_EQ(table.slots()[0].name, wide(fits));
  EXPECT_EQ(table.slots()[1].name, u"x");
  EXPECT_EQ(table.slots()[2].used, 0u);

  std::vector<std::string> many;
  for (int i = 0; i < 150; ++i) many.push_back("n" + std::to_string(i));
  table.fill(many);
  EXPECT_EQ(table.slots()[99].name, u"n99");
  // A second fill starts from a zeroed table.
  table.fill({"only"});
  EXPECT_EQ(table.slots()[0].name, u"only");
  EXPECT_EQ(table.slots()[1].used, 0u);
}

}  // namespace
