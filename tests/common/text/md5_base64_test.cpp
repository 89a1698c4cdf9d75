#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/text/base64.h"
#include "common/text/check_value.h"
#include "common/text/md5_hex.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLargestAccepted = 104857599;

TEST(Md5Hex, MatchesTheRfc1321TestSuite) {
  const struct {
    const char* input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      // The first digest byte is below 16: it must still give two digits.
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(qevMd5Hex(c.input, std::strlen(c.input)), c.digest) << '"' << c.input << '"';
}

TEST(Md5Hex, HashesEmbeddedZeroBytes) {
  const std::string bytes("a\0b", 3);
  EXPECT_NE(qevMd5Hex(bytes.data(), bytes.size()), qevMd5Hex("a", 1));
}

// RFC 4648 section 10.
struct Rfc4648Vector {
  const char* bytes;
  const char* base64;
};
constexpr Rfc4648Vector kRfc4648[] = {
    {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
};

TEST(Base64, EncodesTheRfc4648VectorsWithTerminator) {
  for (const auto& v : kRfc4648) {
    const std::size_t count = std::strlen(v.bytes);
    std::string out(4 * ((count + 2) / 3) + 2, '#');
    const std::size_t answer =
        qevBase64Encode(reinterpret_cast<const unsigned char*>(v.bytes), count, out.data());
    EXPECT_EQ(answer, std::strlen(v.base64) + 1) << v.bytes;
    EXPECT_STREQ(out.c_str(), v.base64);
    EXPECT_EQ(out.back(), '#') << "wrote past the room the caller must provide";
  }
}

TEST(Base64, DecodesTheRfc4648Vectors) {
  for (const auto& v : kRfc4648) {
    std::vector<unsigned char> out(qevBase64DecodedSize(v.base64));
    const std::size_t answer = qevBase64Decode(v.base64, out.data());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), answer), v.bytes) << v.base64;
  }
}

TEST(Base64, DecodeStopsAtTheFirstNonAlphabetByteAndAnswersTheFormula) {
  const struct {
    std::string text;
    std::size_t answer;
    std::string bytes;      // the bytes written, answer of them
    std::size_t allocSize;  // qevBase64DecodedSize
  } cases[] = {
      {"", 0, "", 1},
      {"=", 0, "", 1},
      {"Zg", 1, "f", 4},
      {"Zm8", 2, "fo", 4},
      {"Zm8=", 2, "fo", 4},
      {"Zm8=Zm9v", 2, "fo", 4},           // nothing after the "=" is decoded
      {"Zm9v\r\nYmFy", 3, "foo", 4},      // a line break ends the text
      {"Zm9v YmFy", 3, "foo", 4},
      {"Zm9v\xffYmFy", 3, "foo", 4},
      {"Zm9vYmFy", 6, "foobar", 7},
      // A last group of one character yields no byte: ((5 + 3) / 4) * 3 - ((4 - 1) mod 4) = 3.
      {"Zm9vY", 3, "foo", 7},
      {"+/+/", 3, "\xfb\xff\xbf", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(qevBase64DecodedSize(c.text.c_str()), c.allocSize);
    // Room for one more byte than asked for, marked, to see that nothing is written past it.
    std::vector<unsigned char> out(c.allocSize + 1, 0xAA);
    const std::size_t answer = qevBase64Decode(c.text.c_str(), out.data());
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(answer)), c.bytes);
    EXPECT_EQ(out.back(), 0xAA);
  }
}

TEST(Base64, EveryByteValueAndLengthRoundTrips) {
  std::vector<unsigned char> bytes(256 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(255 - i % 256);
  for (std::size_t count = 1; count <= bytes.size(); ++count) {
    std::string text(4 * ((count + 2) / 3) + 1, '\0');
    ASSERT_EQ(qevBase64Encode(bytes.data(), count, text.data()), text.size()) << count;
    std::vector<unsigned char> out(qevBase64DecodedSize(text.c_str()));
    ASSERT_EQ(qevBase64Decode(text.c_str(), out.data()), count);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count), out.begin()))
        << count;
  }
}

TEST(StoredName, RoundTripsThroughUtf16LeBase64) {
  const struct {
    std::u16string name;
    const char* stored;  // nullptr: only the round trip is checked
  } cases[] = {
      {u"A", "QQA="},
      {u"中", "LU4="},
      {u"con.", nullptr},
      {u"/srv/Www/目录 with blank/aux.txt ", nullptr},
      {u"\U0001F600 outside the basic plane", nullptr},
      {std::u16string(u"raw ") + char16_t(0xDCFF) + char16_t(0xDC80), nullptr},
  };
  for (const auto& c : cases) {
    const std::string stored = qevEncodeStoredName(c.name);
    if (c.stored != nullptr) {
      EXPECT_EQ(stored, c.stored);
    }
    std::u16string back;
    ASSERT_TRUE(qevDecodeStoredName(stored, back)) << stored;
    EXPECT_EQ(back, c.name) << stored;
  }
}

TEST(StoredName, NameThatIsNotUtf8KeepsItsBytes) {
  const std::string onDisk = "bad\xff\xfe name\x80.txt";
  std::u16string wide;
  ASSERT_EQ(qevAnsiToWide(onDisk, wide), 1);
  std::u16string back;
  ASSERT_TRUE(qevDecodeStoredName(qevEncodeStoredName(wide), back));
  std::string bytes;
  ASSERT_EQ(qevWideToAnsi(back, bytes), 1);
  EXPECT_EQ(bytes, onDisk);
}

TEST(StoredName, RefusesWhatIsNotAWholeName) {
  for (const char* text : {"", "=", "QQ==" /* one byte: half a UTF-16 unit */, "@@@@"}) {
    std::u16string wide = u"untouched";
    EXPECT_FALSE(qevDecodeStoredName(text, wide)) << text;
  }
}

// hex(MD5(hex(MD5(bytes)) + salt + name)) computed by md5sum, outside this code.
std::string checkValueByMd5sum(const TemporaryDir& dir, const std::string& file, const std::string& name) {
  const std::string out = dir.path() + "/expected";
  const std::string script = "d=$(md5sum < '" + file + "' | cut -c1-32) && printf '%s' \"$d\"'" +
                             kCheckSalt + name + "' | md5sum | cut -c1-32 > '" + out + "'";
  if (runShell(script) != 0) return {};
  std::string value = readFile(out);
  if (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

TEST(CheckValue, AgreesWithAnIndependentComputation) {
  TemporaryDir dir;
  const std::string file = dir.path() + "/bytes";
  const struct {
    std::string bytes;
    std::string name;
  } cases[] = {
      {"hello", kCheckName},
      {std::string("\0\x01\xff\r\n binary", 11), kCheckName},
      {std::string(70000, 'x'), "other-name"},
  };
  for (const auto& c : cases) {
    writeFile(file, c.bytes);
    const std::string expected = checkValueByMd5sum(dir, file, c.name);
    ASSERT_EQ(expected.size(), 32u) << "md5sum is needed for this test";
    std::string fromText;
    std::string fromFile;
    EXPECT_EQ(qevTextCheckValue(c.bytes, c.name, fromText), 1);
    EXPECT_EQ(qevFileCheckValue(file, c.name, fromFile), 1);
    EXPECT_EQ(fromText, expected);
    EXPECT_EQ(fromFile, expected);
  }
}

TEST(CheckValue, HardCodedValueOfAKnownText) {
  // md5sum of "5d41402abc4b2a76b9719d911017c592_(x)qpwoeiru.tyz_1999_Sorrelscan", where the
  // first part is md5sum of "hello".
  std::string value;
  ASSERT_EQ(qevTextCheckValue("hello", kCheckName, value), 1);
  EXPECT_EQ(value, "47dbf38b08af5b52aa1b9c4551353283");
}

TEST(CheckValue, RefusesBadInputAndLeavesTheValueUntouched) {
  TemporaryDir dir;
  const std::string emptyFile = dir.path() + "/empty";
  writeFile(emptyFile, "");
  const std::string someFile = dir.path() + "/some";
  writeFile(someFile, "some bytes");
  const std::string longName(260, 'n');
  const struct {
    const char* what;
    std::string text;
    std::string file;
    std::string name;
  } cases[] = {
      {"empty text and empty file", "", emptyFile, kCheckName},
      {"empty name", "x", someFile, ""},
      {"name of 260 bytes", "x", someFile, longName},
  };
  for (const auto& c : cases) {
    std::string value = "untouched";
    EXPECT_EQ(qevTextCheckValue(c.text, c.name, value), 0) << c.what;
    EXPECT_EQ(qevFileCheckValue(c.file, c.name, value), 0) << c.what;
    EXPECT_EQ(value, "untouched") << c.what;
  }
  for (const std::string& notAFile : {dir.path() + "/missing", dir.path()}) {
    std::string value = "untouched";
    EXPECT_EQ(qevFileCheckValue(notAFile, kCheckName, value), 0) << notAFile;
    EXPECT_EQ(value, "untouched");
  }
  std::string value;
  EXPECT_EQ(qevTextCheckValue("x", std::string(259, 'n'), value), 1) << "a name of 259 bytes is allowed";
}

TEST(CheckValue, SizeLimitIsInclusive) {
  TemporaryDir dir;
  const std::string file = dir.path() + "/large";
  for (const std::size_t size : {kLargestAccepted, kLargestAccepted + 1}) {
    SCOPED_TRACE(size);
    const int expected = size <= kLargestAccepted ? 1 : 0;
    {
      std::ofstream(file, std::ios::binary | std::ios::trunc);
    }
    fs::resize_file(file, size);  // sparse: zero bytes without writing them
    std::string value;
    EXPECT_EQ(qevFileCheckValue(file, kCheckName, value), expected);
    const std::string text(size, '\0');
    EXPECT_EQ(qevTextCheckValue(text, kCheckName, value), expected);
  }
}

}  // namespace
