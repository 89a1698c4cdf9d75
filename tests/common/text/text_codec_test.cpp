#include <gtest/gtest.h>

#include <string>

#include "common/text/text_codec.h"

namespace {

TEST(TextCodec, ConvertsValidUtf8BothWays) {
  const struct {
    std::string ansi;
    std::u16string wide;
  } cases[] = {
      {"website", u"website"},
      {"\xe6\x9c\xaa\xe5\xa4\x84\xe7\x90\x86", u"\u672a\u5904\u7406"},  // 未处理
      {"\xf0\x9f\x98\x80", u"\xd83d\xde00"},                             // beyond U+FFFF: a pair
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    std::u16string wide;
    ASSERT_EQ(qevAnsiToWide(c.ansi, wide), 1) << c.ansi;
    EXPECT_EQ(wide, c.wide) << c.ansi;
    std::string back;
    ASSERT_EQ(qevWideToAnsi(wide, back), 1) << c.ansi;
    EXPECT_EQ(back, c.ansi);
  }
}

// Names on disk need not be UTF-8; each stray byte travels as U+DC00 + byte and comes back.
TEST(TextCodec, BytesThatAreNotUtf8SurviveTheRoundTrip) {
  const struct {
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"caf\xe9", u"caf\xdce9"},                     // Latin-1 name
      {"\xff\xfe", u"\xdcff\xdcfe"},                 // no lead byte at all
      {"\xe4\xb8", u"\xdce4\xdcb8"},                 // a sequence cut short
      {"\xc0\xaf", u"\xdcc0\xdcaf"},                 // overlong "/"
      {"\xed\xa0\x80", u"\xdced\xdca0\xdc80"},       // an encoded surrogate
      {"\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"},  // past U+10FFFF
      {"a\x80\xe4\xb8\xad", u"a\xdc80\u4e2d"},       // stray byte before a valid character
  };
  for (const auto& c : cases) {
    std::u16string wide;
    ASSERT_EQ(qevAnsiToWide(c.bytes, wide), 1);
    EXPECT_EQ(wide, c.wide);
    std::string back;
    ASSERT_EQ(qevWideToAnsi(wide, back), 1);
    EXPECT_EQ(back, c.bytes);
  }
}

TEST(TextCodec, LoneSurrogatesThatStandForNoByteFail) {
  const std::u16string cases[] = {u"a\xd800", u"\xdc41", u"\xdfff", u"\xde00z"};
  for (const auto& wide : cases) {
    std::string ansi = "stale";
    EXPECT_EQ(qevWideToAnsi(wide, ansi), 0);
    EXPECT_EQ(ansi, "");
  }
}

TEST(TextCodec, EmptyAndOverlongInputsAnswerTwoWithEmptyOutput) {
  std::string ansi = "stale";
  std::u16string wide = u"stale";
  EXPECT_EQ(qevWideToAnsi(u"", ansi), 2);
  EXPECT_EQ(ansi, "");
  EXPECT_EQ(qevAnsiToWide("", wide), 2);
  EXPECT_EQ(wide, u"");

  EXPECT_EQ(qevAnsiToWide(std::string(kMaxConvertUnits, 'a'), wide), 1);
  EXPECT_EQ(qevAnsiToWide(std::string(kMaxConvertUnits + 1, 'a'), wide), 2);
  EXPECT_EQ(wide, u"");
  EXPECT_EQ(qevWideToAnsi(std::u16string(kMaxConvertUnits + 1, u'a'), ansi), 2);
  EXPECT_EQ(ansi, "");
}

TEST(TextCodec, Utf16LeBytesPutTheLowByteFirst) {
  const std::string bytes = qevUtf16LeBytes(u"A\u4e2d\xdce9");
  EXPECT_EQ(bytes, std::string("A\0\x2d\x4e\xe9\xdc", 6));
  EXPECT_EQ(qevFromUtf16LeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
            u"A\u4e2d\xdce9");
  // A trailing odd byte is no unit.
  EXPECT_EQ(qevFromUtf16LeBytes(reinterpret_cast<const unsigned char*>("A\0B"), 3), u"A");
}

}  // namespace
