#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/files/long_path.h"
#include "common/text/base64.h"
#include "common/text/check_value.h"
#include "common/text/md5_hex.h"
#include "common/text/text_codec.h"
#include "support/deep_tree.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

class LongPathCheckValue : public ::testing::Test {
 protected:
  TemporaryDir temp;
  const std::string base = temp.path();
};

// Expected values computed outside this code (Python hashlib).
TEST_F(LongPathCheckValue, MatchesIndependentlyComputedValues) {
  const struct {
    std::string content;
    std::string name;
    std::string value;
  } cases[] = {
      {"hello\n", kCheckName, "21a7d042ba9d74363662f1f97dca0c78"},
      {"x", "Other", "96c2cc9bf92d2f8e0ea00ffbee851260"},
  };
  for (const auto& c : cases) {
    writeFile(base + "/file", c.content);
    std::string value;
    EXPECT_EQ(qevFileCheckValue(wide(base + "/file"), c.name, value), 1);
    EXPECT_EQ(value, c.value);
  }
}

TEST_F(LongPathCheckValue, RefusalsLeaveTheValueUntouched) {
  writeFile(base + "/file", "content");
  writeFile(base + "/empty", "");
  fs::create_directory(base + "/dir");
  fs::create_symlink(base + "/file", base + "/link");
  const struct {
    std::string path;
    std::string name;
  } cases[] = {
      {base + "/missing", kCheckName}, {base + "/empty", kCheckName},
      {base + "/dir", kCheckName},     {base + "/link", kCheckName},  // a link is not followed
      {base + "/file", ""},            {base + "/file", std::string(260, 'n')},
  };
  for (const auto& c : cases) {
    std::string value = "kept";
    EXPECT_EQ(qevFileCheckValue(wide(c.path), c.name, value), 0) << c.path;
    EXPECT_EQ(value, "kept");
  }
  std::string value = "kept";
  EXPECT_EQ(qevFileCheckValue(wide(base + "/file"), std::string(259, 'n'), value), 1);
}

// The largest accepted file must fit the read buffer of size + 10 bytes.
TEST_F(LongPathCheckValue, TakesFilesUpTo104857599Bytes) {
  const std::string path = base + "/big";
  writeFile(path, "");
  fs::resize_file(path, kMaxFileBytes);
  std::string value;
  EXPECT_EQ(qevFileCheckValue(wide(path), kCheckName, value), 1);
  EXPECT_EQ(value, "c13875e97b3d29827802059570db4beb");
  fs::resize_file(path, kMaxFileBytes + 1);
  value = "kept";
  EXPECT_EQ(qevFileCheckValue(wide(path), kCheckName, value), 0);
  EXPECT_EQ(value, "kept");
}

// The file is hashed as it is read, piece by piece: sizes around the read piece give the value
// of the whole bytes at once.
TEST_F(LongPathCheckValue, ValueIsThatOfTheWholeBytesWhateverTheSize) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  for (const std::size_t size : {kPiece - 1, kPiece, kPiece + 1, 3 * kPiece}) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 2654435761u) >> 13);
    writeFile(base + "/file", content);
    std::string expected;
    ASSERT_EQ(qevCheckValueOfDigest(qevMd5Hex(content.data(), content.size()), kCheckName, expected), 1);
    std::string value;
    EXPECT_EQ(qevFileCheckValue(wide(base + "/file"), kCheckName, value), 1) << size;
    EXPECT_EQ(value, expected) << size;
  }
}

TEST_F(LongPathCheckValue, ReachesFilesBeyondPathMax) {
  const std::string deep = makeDeepTree(base, 2500);
  writeFile(base + "/file", "hello\n");
  ASSERT_EQ(qevGetPathKind(wide(deep)), 2);
  std::string value;
  ASSERT_EQ(qevWriteWholeFile(wide(deep + "/file"), "hello\n", 6), 1);
  EXPECT_EQ(qevFileCheckValue(wide(deep + "/file"), kCheckName, value), 1);
  EXPECT_EQ(value, "21a7d042ba9d74363662f1f97dca0c78");
  removeDeepTree(base + "/d");
}

std::string unpack(const std::string& packed, const std::string& key) {
  std::vector<unsigned char> bytes(qevBase64DecodedSize(packed.c_str()));
  const std::size_t count = qevBase64Decode(packed.c_str(), bytes.data());
  unsigned char combined = 0;
  for (const char c : key) combined ^= static_cast<unsigned char>(c);
  std::string plain;
  for (std::size_t i = 0; i < count; ++i) plain += static_cast<char>(bytes[i] ^ combined);
  return plain;
}

TEST_F(LongPathCheckValue, PackScramblesEncodesAndChecksTheEncodedText) {
  writeFile(base + "/suspicious.php", "hello\n");
  std::string value;
  ASSERT_EQ(qevPackFileForReport(wide(base + "/suspicious.php"), wide(base + "/packed"), "ab",
                                 kCheckName, value),
            1);
  EXPECT_EQ(readFile(base + "/packed"), "a2Zvb2wJ");  // independently computed
  EXPECT_EQ(value, "aa0799de1a65f6c801be752f00de8b79");

  std::string every;
  for (int byte = 0; byte < 256; ++byte) every += static_cast<char>(byte);
  writeFile(base + "/binary", every);
  ASSERT_EQ(qevPackFileForReport(wide(base + "/binary"), wide(base + "/packed"), "k3y!",
                                 kCheckName, value),
            1);
  const std::string packed = readFile(base + "/packed");
  EXPECT_EQ(unpack(packed, "k3y!"), every);
  std::string textValue;
  ASSERT_EQ(qevTextCheckValue(packed, kCheckName, textValue), 1);
  EXPECT_EQ(value, textValue);
}

TEST_F(LongPathCheckValue, PackRefusalsWriteNothingAndLeaveTheValueUntouched) {
  writeFile(base + "/source", "content");
  writeFile(base + "/empty", "");
  const struct {
    std::string source;
    std::string destination;
    std::string key;
    std::string name;
  } cases[] = {
      {base + "/source", base + "/out", "", kCheckName},
      {base + "/source", base + "/out", std::string(260, 'k'), kCheckName},
      {base + "/source", base + "/out", "key", ""},
      {base + "/missing", base + "/out", "key", kCheckName},
      {base + "/empty", base + "/out", "key", kCheckName},
      {base + "/source", base + "/nodir/out", "key", kCheckName},  // the write fails
  };
  for (const auto& c : cases) {
    std::string value = "kept";
    EXPECT_EQ(qevPackFileForReport(wide(c.source), wide(c.destination), c.key, c.name, value), 0)
        << c.source << " " << c.destination;
    EXPECT_EQ(value, "kept");
    EXPECT_FALSE(fs::exists(base + "/out"));
  }
}

// The Base64 text must stay below 104,857,600 characters: 78,643,197 bytes give 104,857,596.
TEST_F(LongPathCheckValue, PackTakesSourcesWhoseTextStaysBelowTheCeiling) {
  const std::string path = base + "/source";
  writeFile(path, "");
  fs::resize_file(path, 78643198);
  std::string value = "kept";
  EXPECT_EQ(qevPackFileForReport(wide(path), wide(base + "/out"), "key", kCheckName, value), 0);
  EXPECT_EQ(value, "kept");
  fs::resize_file(path, 78643197);
  EXPECT_EQ(qevPackFileForReport(wide(path), wide(base + "/out"), "key", kCheckName, value), 1);
  EXPECT_EQ(fs::file_size(base + "/out"), 104857596u);
}

}  // namespace
