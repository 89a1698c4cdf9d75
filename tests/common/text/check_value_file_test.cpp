#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/process/process.h"
#include "common/text/check_value.h"
#include "common/text/md5_hex.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

TEST(ReadCheckValueFile, FindsTheFirstFileChkValEntry) {
  const std::string value259(259, 'v');
  const std::string longLine = "FileChkVal=" + std::string(8192, 'x');
  const struct {
    const char* what;
    std::string text;
    int answer;
    std::string value;
  } cases[] = {
      {"plain entry", "FileChkVal=abc\r\n", 1, "abc"},
      {"no line end", "FileChkVal=abc", 1, "abc"},
      {"in a section", "[Sorrelscan]\r\nFileChkVal=abc\r\n", 1, "abc"},
      {"capitals and blanks around =", "FILECHKVAL = abc \r\n", 1, "abc"},
      {"blanks and tabs around the line", "  \t FileChkVal=abc \t \r\n", 1, "abc"},
      {"lines ended by \\n only", "[Sorrelscan]\nFileChkVal=abc\n", 1, "abc"},
      {"value in quotes", "FileChkVal=\"abc\"\r\n", 1, "abc"},
      {"comment lines are not entries",
       ";FileChkVal=c1\r\n#FileChkVal=c2\r\n!FileChkVal=c3\r\n=FileChkVal=c4\r\nFileChkVal=abc\r\n", 1, "abc"},
      {"other keys come first", "Version=3\r\nFileChkValue=no\r\nChk=no\r\nFileChkVal=abc\r\n", 1, "abc"},
      {"first match wins", "FileChkVal=first\r\nFileChkVal=second\r\n", 1, "first"},
      {"value of 259 bytes", "FileChkVal=" + value259 + "\r\n", 1, value259},
      {"value with = inside", "FileChkVal=a=b\r\n", 1, "a=b"},
      {"value of 260 bytes", "FileChkVal=" + value259 + "v\r\n", 0, ""},
      {"empty value ends the search", "FileChkVal=\r\nFileChkVal=abc\r\n", 0, ""},
      {"key without =", "FileChkVal\r\n", 0, ""},
      {"only comments", "; FileChkVal=abc\r\n", 0, ""},
      {"line over 8192 bytes is skipped", longLine + "\r\nFileChkVal=abc\r\n", 1, "abc"},
      {"key too short before =", "F=abc\r\n", 0, ""},
  };
  TemporaryDir dir;
  const std::string path = dir.path() + "/Sorrelscan.in";
  for (const auto& c : cases) {
    writeFile(path, c.text);
    std::string value = "untouched";
    EXPECT_EQ(qevReadCheckValueFile(path, value), c.answer) << c.what;
    EXPECT_EQ(value, c.answer == 1 ? c.value : "untouched") << c.what;
  }
}

TEST(ReadCheckValueFile, RefusesWhatCannotBeRead) {
  TemporaryDir dir;
  const std::string empty = dir.path() + "/empty.in";
  writeFile(empty, "");
  for (const std::string& path : {std::string(), dir.path() + "/missing.in", empty, dir.path()}) {
    std::string value = "untouched";
    EXPECT_EQ(qevReadCheckValueFile(path, value), 0) << path;
    EXPECT_EQ(value, "untouched");
  }
}

// A program directory holding a copy of a real executable and its check-value file.
class CompanionExe : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir_.path() + "/config");
    fs::copy_file("/bin/true", exe());
    ASSERT_EQ(qevFileCheckValue(exe(), kCheckName, value_), 1);
  }
  std::string programDir() const { return dir_.path() + "/"; }
  std::string exe() const { return dir_.path() + "/qevxconfig"; }
  std::string checkFile() const { return dir_.path() + "/config/qevxconfig.in"; }
  std::string plainMd5() const {
    std::ifstream in(exe(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return qevMd5Hex(bytes.data(), bytes.size());
  }
  int verify() const { return qevVerifyCompanionExe(programDir(), "qevxconfig", kConfigFolder); }

  TemporaryDir dir_;
  std::string value_;
};

TEST_F(CompanionExe, StoredValueIsComparedWithoutRegardToCase) {
  const struct {
    const char* what;
    std::string text;
    int answer;
  } cases[] = {
      {"lower-case digits", "[Sorrelscan]\r\nFileChkVal=" + value_ + "\r\n", 1},
      {"upper-case digits", "FileChkVal=" + upper(value_) + "\r\n", 1},
      {"FILECHKVAL with blanks", "FILECHKVAL = " + value_ + "\r\n", 1},
      {"one digit changed", "FileChkVal=" + value_.substr(0, 31) + (value_[31] == '0' ? "1" : "0") + "\r\n", 0},
      {"value with a digit more", "FileChkVal=" + value_ + "0\r\n", 0},
      {"unsalted MD5 of the executable", "FileChkVal=" + plainMd5() + "\r\n", 0},
      {"no FileChkVal entry", "Other=" + value_ + "\r\n", 0},
  };
  for (const auto& c : cases) {
    writeFile(checkFile(), c.text);
    EXPECT_EQ(verify(), c.answer) << c.what;
  }
}

TEST_F(CompanionExe, FailsWithoutItsFilesOrWithAnEmptyExecutable) {
  writeFile(checkFile(), "FileChkVal=" + value_ + "\r\n");
  ASSERT_EQ(verify(), 1);

  // The check value of no bytes at all, in case an empty file were taken for a text.
  const std::string emptyDigest = qevMd5Hex("", 0) + kCheckSalt + kCheckName;
  writeFile(exe(), "");
  writeFile(checkFile(), "FileChkVal=" + qevMd5Hex(emptyDigest.data(), emptyDigest.size()) + "\r\n");
  EXPECT_EQ(verify(), 0) << "empty executable";

  fs::remove(exe());
  EXPECT_EQ(verify(), 0) << "missing executable";

  fs::copy_file("/bin/true", exe());
  fs::remove(checkFile());
  EXPECT_EQ(verify(), 0) << "missing check-value file";
}

TEST_F(CompanionExe, CheckValueFolderNameIsCaseSensitive) {
  writeFile(checkFile(), "FileChkVal=" + value_ + "\r\n");
  EXPECT_EQ(qevVerifyCompanionExe(programDir(), "qevxconfig", "Config"), 0);
  EXPECT_EQ(qevVerifyCompanionExe(programDir(), "QEVXCONFIG", "config"), 0);
}

TEST_F(CompanionExe, ProgramDirectoryAndNameMustHaveTheirShape) {
  writeFile(checkFile(), "FileChkVal=" + value_ + "\r\n");
  const std::string withoutSlash = programDir().substr(0, programDir().size() - 1);
  const struct {
    std::string dir;
    std::string name;
    int answer;
  } cases[] = {
      {programDir(), "qevxconfig", 1},
      {"/" + programDir(), "qevxconfig", 1},  // doubled separators collapse
      {withoutSlash, "qevxconfig", 0},
      {programDir().substr(1), "qevxconfig", 0},  // relative
      {"", "qevxconfig", 0},
      {"//", "qevxconfig", 0},
      {programDir() + std::string(261 - programDir().size(), '/'), "qevxconfig", 0},
      {programDir(), "", 0},
      {programDir(), std::string(260, 'q'), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qevVerifyCompanionExe(c.dir, c.name, kConfigFolder), c.answer) << c.dir << " | " << c.name;
  }
}

TEST(StagedScanner, VerifiesWithTheCheckValueFileWrittenByTheBuild) {
  const std::string dist = std::string(SORREL_DIST_DIR) + "/";
  ASSERT_TRUE(fs::exists(dist + "Sorrelscan") && fs::exists(dist + "config/Sorrelscan.in"))
      << "build the staged program directory first";
  TemporaryDir dir;
  fs::create_directory(dir.path() + "/config");
  fs::copy_file(dist + "Sorrelscan", dir.path() + "/Sorrelscan");
  fs::copy_file(dist + "config/Sorrelscan.in", dir.path() + "/config/Sorrelscan.in");
  EXPECT_EQ(qevVerifyCompanionExe(dir.path() + "/", kScannerExeName, kConfigFolder), 1);

  // One byte appended to the scanner is noticed.
  std::ofstream(dir.path() + "/Sorrelscan", std::ios::binary | std::ios::app) << '\0';
  EXPECT_EQ(qevVerifyCompanionExe(dir.path() + "/", kScannerExeName, kConfigFolder), 0);
}

}  // namespace
