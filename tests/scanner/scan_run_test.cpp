// Whole runs of the built scanner over generated trees: the rows it records, the summary it
// prints, and how it treats the scan list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

#include "common/text/check_value.h"
#include "common/text/stored_name.h"
#include "scanner_fixture.h"

namespace {

using scanner_test::decodedPath;
using scanner_test::decodedPaths;
using scanner_test::ScannerProgramDir;
using scanner_test::ScannerRun;
using scanner_test::storedRows;
using scanner_test::touch;

std::string summary(unsigned directories, unsigned files, unsigned specialDirectories,
                    unsigned specialFiles, unsigned notWalked = 0) {
  std::string text = "\r\n扫描文件完成，累计扫描 " + std::to_string(directories) + " 个目录，" +
                     std::to_string(files) + " 个文件，用时 0 秒\r\n\r\n其中包含特殊字符或带点的目录 " +
                     std::to_string(specialDirectories) + " 个，文件 " + std::to_string(specialFiles) + " 个";
  if (notWalked > 0) {
    text += "\r\n\r\n未能扫描的目录 " + std::to_string(notWalked) + " 个，见上面的警告或运行日志 __Sorrelscan.log";
  }
  return text + "\r\n\r\n\r\n\r\n请关闭当前窗口...\r\n";
}

// The warning for a directory that was not walked, as the console shows it.
std::string notWalkedWarning(const std::string& path, const std::string& reason) {
  return "\r\n警告：未能扫描目录 " + path + "（" + reason + "）";
}

std::string runLog(const ScannerProgramDir& dir) { return scanner_test::readFile(dir.path() + "__Sorrelscan.log"); }

// The output with the seconds of the summary set to 0, whatever time the run took.
std::string withoutElapsedTime(std::string output) {
  const std::string before = "用时 ";
  const std::size_t at = output.find(before);
  if (at == std::string::npos) return output;
  const std::size_t digits = at + before.size();
  std::size_t end = digits;
  while (end < output.size() && std::isdigit(static_cast<unsigned char>(output[end]))) ++end;
  return output.replace(digits, end - digits, "0");
}

bool endsWith(const std::string& output, const std::string& tail) {
  const std::string text = withoutElapsedTime(output);
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool allDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string refreshFlag(const ScannerProgramDir& dir) {
  return scanner_test::readFile(dir.path() + "Sorrelscan.ini");
}

TEST(ScanRun, RecordsEverySpecialEntryWithAllItsColumns) {
  ScannerProgramDir dir;
  TemporaryDir site;
  const std::string root = site.path();
  std::filesystem::create_directories(root + "/prn/inner");
  touch(root + "/con.txt", "12345");
  touch(root + "/prn/inner/index.html", "ordinary");
  touch(root + "/prn/Aux", "");
  touch(root + "/ok.txt", "ordinary");
  dir.writeScanList({root});

  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(endsWith(run.output, summary(2, 4, 1, 2))) << run.output;
  EXPECT_NE(run.output.find("\r\n当前填写的扫描目录 1 - " + root), std::string::npos);
  EXPECT_NE(run.output.find("\r\n扫描目录 "), std::string::npos);
  EXPECT_NE(run.output.find(" - con.txt ..."), std::string::npos);

  const std::vector<scanner_test::StoredRow> rows = storedRows();
  ASSERT_EQ(rows.size(), 3u);
  std::map<std::string, scanner_test::StoredRow> byPath;
  std::vector<std::string> order;
  for (const auto& row : rows) {
    byPath[decodedPath(row.filepath)] = row;
    order.push_back(decodedPath(row.filepath));
  }
  // A special directory is recorded before its contents.
  const auto prnAt = std::find(order.begin(), order.end(), root + "/prn");
  const auto auxAt = std::find(order.begin(), order.end(), root + "/prn/Aux");
  ASSERT_NE(prnAt, order.end());
  ASSERT_NE(auxAt, order.end());
  EXPECT_LT(prnAt, auxAt);

  const scanner_test::StoredRow& file = byPath[root + "/con.txt"];
  EXPECT_EQ(file.fid, "1");
  // regdate "%Y-%m-%d"; filenameid "<sequence>_<%Y%m%d%H%M%S>_<tick>" with the same date.
  ASSERT_EQ(file.regdate.size(), 10u);
  EXPECT_TRUE(file.regdate[4] == '-' && file.regdate[7] == '-') << file.regdate;
  const std::string date = file.regdate.substr(0, 4) + file.regdate.substr(5, 2) + file.regdate.substr(8, 2);
  EXPECT_TRUE(allDigits(date)) << file.regdate;
  const std::size_t first = file.filenameid.find('_');
  const std::size_t second = file.filenameid.find('_', first + 1);
  ASSERT_NE(second, std::string::npos) << file.filenameid;
  EXPECT_TRUE(allDigits(file.filenameid.substr(0, first))) << file.filenameid;
  const std::string stamp = file.filenameid.substr(first + 1, second - first - 1);
  EXPECT_TRUE(stamp.size() == 14 && allDigits(stamp)) << file.filenameid;
  EXPECT_EQ(stamp.substr(0, 8), date) << file.filenameid;
  EXPECT_TRUE(allDigits(file.filenameid.substr(second + 1))) << file.filenameid;
  EXPECT_EQ(file.filename, qevEncodeStoredName(u"con.txt"));
  EXPECT_EQ(file.filesize, "5");
  EXPECT_EQ(file.filesize2, "0");
  EXPECT_EQ(file.compactDatabase, "0");
  std::string checkValue;
  ASSERT_EQ(qevTextCheckValue(file.filepath, "Sorrelscan", checkValue), 1);
  EXPECT_EQ(file.filechkval, checkValue);
  EXPECT_EQ(file.fileinfo, "未处理");
  EXPECT_EQ(file.filetype, "1");

  const scanner_test::StoredRow& directory = byPath[root + "/prn"];
  EXPECT_EQ(directory.filename, "cAByAG4A");
  EXPECT_EQ(directory.filesize, "0");
  EXPECT_EQ(directory.filetype, "2");

  // The sequence number starts at 0 and goes up by one per row.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].filenameid.rfind(std::to_string(i) + "_", 0), 0u) << rows[i].filenameid;
  }
  EXPECT_NE(refreshFlag(dir).find("refscanlog=1"), std::string::npos);
}

TEST(ScanRun, AnEmptyDirectoryGivesZeroTotalsAndStillRaisesTheFlag) {
  ScannerProgramDir dir;
  TemporaryDir site;
  dir.writeScanList({site.path()});
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(endsWith(run.output, summary(0, 0, 0, 0))) << run.output;
  EXPECT_NE(refreshFlag(dir).find("refscanlog=1"), std::string::npos);
}

TEST(ScanRun, AnEmptyOrMissingScanListEmptiesTheStoreAndStopsWithoutSummary) {
  for (const bool missing : {false, true}) {
    ScannerProgramDir dir;
    ASSERT_EQ(qevExecuteSql("insert into fileinfo(fid) values ('1')"), 1);
    if (!missing) scanner_test::writeFile(dir.config("ScanDir.txt"), "\r\n;comment\r\n");
    const ScannerRun run = dir.run();
    EXPECT_EQ(run.exitCode, 1) << missing;
    EXPECT_TRUE(endsWith(run.output, "\r\n未设置需要扫描的目录，例如“d:\\home”，请设置一个需要扫描的目录！"))
        << run.output;
    EXPECT_EQ(run.output.find("扫描文件完成"), std::string::npos);
    EXPECT_TRUE(storedRows().empty()) << missing;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "Sorrelscan.ini")) << missing;
    EXPECT_NE(scanner_test::readFile(dir.path() + "__Sorrelscan.log").find("未设置需要扫描的目录"),
              std::string::npos);
  }
}

TEST(ScanRun, OnlyTheFirst999RootsAreWalkedButEveryLineIsListed) {
  ScannerProgramDir dir;
  TemporaryDir sites;
  std::vector<std::string> lines;
  for (int i = 1; i <= 1000; ++i) {
    const std::string root = sites.path() + "/r" + std::to_string(i);
    std::filesystem::create_directory(root);
    lines.push_back(root);
  }
  touch(lines[997] + "/con");
  touch(lines[998] + "/con");
  touch(lines[999] + "/con");
  dir.writeScanList(lines);
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("\r\n当前填写的扫描目录 1000 - " + lines[999]), std::string::npos);
  EXPECT_NE(run.output.find(notWalkedWarning(lines[999], "最多扫描 999 个目录")), std::string::npos);
  EXPECT_TRUE(endsWith(run.output, summary(0, 2, 0, 2, 1))) << run.output.substr(run.output.size() - 300);
  EXPECT_EQ(decodedPaths(storedRows()),
            (std::vector<std::string>{lines[997] + "/con", lines[998] + "/con"}));
}

TEST(ScanRun, ADirectoryAndItsSubdirectoryInTheListRecordItsEntriesTwice) {
  ScannerProgramDir dir;
  TemporaryDir site;
  std::filesystem::create_directory(site.path() + "/sub");
  touch(site.path() + "/sub/nul.txt");
  dir.writeScanList({site.path(), site.path() + "/sub"});
  const ScannerRun run = dir.run();
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(decodedPath(rows[0].filepath), site.path() + "/sub/nul.txt");
  EXPECT_EQ(decodedPath(rows[1].filepath), site.path() + "/sub/nul.txt");
  EXPECT_NE(rows[0].filenameid, rows[1].filenameid);
  EXPECT_TRUE(endsWith(run.output, summary(1, 2, 0, 2))) << run.output;
}

TEST(ScanRun, ARootThatIsNotAbsoluteIsNotWalkedAndIsNamed) {
  ScannerProgramDir dir;
  TemporaryDir work;
  std::filesystem::create_directory(work.path() + "/site");
  touch(work.path() + "/site/con");
  dir.writeScanList({"site", "./site"});
  const ScannerRun run = dir.run({"/FileScan"}, work.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(endsWith(run.output, "\r\n当前填写的扫描目录 2 - ./site" +
                                       notWalkedWarning("site", "不是以“/”开头的绝对路径") +
                                       notWalkedWarning("./site", "不是以“/”开头的绝对路径") +
                                       "\r\n\r\n" + summary(0, 0, 0, 0, 2)))
      << run.output;
  EXPECT_TRUE(storedRows().empty());
}

// Each root that cannot be walked is named on the console and in the run log and counted in
// the summary, so a run over it does not read like a clean server; the other roots are walked.
TEST(ScanRun, ARootThatCannotBeWalkedIsNamedAndCounted) {
  struct Case {
    const char* name;
    std::function<std::string(const std::string& site)> makeRoot;
    std::string reason;
    bool boundByPermissions = false;
  };
  const Case cases[] = {
      {"missing", [](const std::string& site) { return site + "/missing"; }, "不存在"},
      {"below a file",
       [](const std::string& site) {
         touch(site + "/page.html");
         return site + "/page.html/sub";
       },
       "不存在"},
      {"a file",
       [](const std::string& site) {
         touch(site + "/page.html");
         return site + "/page.html";
       },
       "不是目录"},
      {"a link to a file",
       [](const std::string& site) {
         touch(site + "/page.html");
         std::filesystem::create_symlink(site + "/page.html", site + "/link");
         return site + "/link";
       },
       "不是目录"},
      {"longer than 259 bytes",
       [](const std::string& site) { return site + "/" + std::string(260, 'x'); },
       "路径超过 259 个字节"},
      {"without permissions",
       [](const std::string& site) {
         std::filesystem::create_directory(site + "/locked");
         touch(site + "/locked/con");
         std::filesystem::permissions(site + "/locked", std::filesystem::perms::none);
         return site + "/locked";
       },
       "无法打开或读取", true},
      {"below a directory without permissions",
       [](const std::string& site) {
         std::filesystem::create_directories(site + "/locked/inner");
         std::filesystem::permissions(site + "/locked", std::filesystem::perms::none);
         return site + "/locked/inner";
       },
       "无法访问", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScannerProgramDir dir;
    TemporaryDir site;
    std::filesystem::create_directory(site.path() + "/good");
    touch(site.path() + "/good/aux");
    const std::string root = c.makeRoot(site.path());
    dir.writeScanList({site.path() + "/good", root});
    const ScannerRun run = c.boundByPermissions ? dir.runBoundByPermissions() : dir.run();
    if (c.boundByPermissions) std::filesystem::permissions(site.path() + "/locked", std::filesystem::perms::owner_all);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(notWalkedWarning(root, c.reason)), std::string::npos) << run.output;
    EXPECT_TRUE(endsWith(run.output, summary(0, 1, 0, 1, 1))) << run.output;
    EXPECT_EQ(decodedPaths(storedRows()), std::vector<std::string>{site.path() + "/good/aux"});
    EXPECT_NE(runLog(dir).find(" - 警告：未能扫描目录 " + root + "（" + c.reason + "）\r\n"), std::string::npos)
        << runLog(dir);
  }
}

TEST(ScanRun, ASubdirectoryThatCannotBeOpenedIsNamedAndTheRestIsWalked) {
  ScannerProgramDir dir;
  TemporaryDir site;
  std::filesystem::create_directories(site.path() + "/locked/inner");
  touch(site.path() + "/locked/con");
  std::filesystem::create_directory(site.path() + "/open");
  touch(site.path() + "/open/nul");
  std::filesystem::permissions(site.path() + "/locked", std::filesystem::perms::none);
  dir.writeScanList({site.path()});
  const ScannerRun run = dir.runBoundByPermissions();
  std::filesystem::permissions(site.path() + "/locked", std::filesystem::perms::owner_all);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find(notWalkedWarning(site.path() + "/locked", "无法打开或读取")), std::string::npos)
      << run.output;
  EXPECT_TRUE(endsWith(run.output, summary(2, 1, 0, 1, 1))) << run.output;
  EXPECT_EQ(decodedPaths(storedRows()), std::vector<std::string>{site.path() + "/open/nul"});
  EXPECT_NE(runLog(dir).find(" - 警告：未能扫描目录 " + site.path() + "/locked（无法打开或读取）\r\n"),
            std::string::npos);
}

// The cleaning pass opens every directory without following links, so the rows must name the
// entries by the path the root leads to.
TEST(ScanRun, ARootThatIsOrPassesThroughALinkIsRecordedWhereItLeads) {
  struct Case {
    const char* name;
    std::string rootBelowSite;
  };
  const Case cases[] = {
      {"a link to the directory", "/link"},
      {"a link on the way", "/up/real"},
      {"a link to the directory, with a final slash", "/link/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScannerProgramDir dir;
    TemporaryDir site;
    const std::string real = std::filesystem::canonical(site.path()).string() + "/real";
    std::filesystem::create_directories(real + "/sub");
    touch(real + "/sub/con.txt");
    std::filesystem::create_directory_symlink(real, site.path() + "/link");
    std::filesystem::create_directory_symlink(site.path(), site.path() + "/up");
    dir.writeScanList({site.path() + c.rootBelowSite});
    const ScannerRun run = dir.run();
    EXPECT_TRUE(endsWith(run.output, summary(1, 1, 0, 1))) << run.output;
    EXPECT_EQ(decodedPaths(storedRows()), std::vector<std::string>{real + "/sub/con.txt"});
  }
}

TEST(ScanRun, LinksAreClassifiedByTheirOwnNameAndNeverFollowed) {
  ScannerProgramDir dir;
  TemporaryDir site;
  std::filesystem::create_directory(site.path() + "/real");
  touch(site.path() + "/real/aux");
  std::filesystem::create_directory_symlink(site.path(), site.path() + "/loop");
  std::filesystem::create_directory_symlink(site.path() + "/real", site.path() + "/con");
  dir.writeScanList({site.path()});
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 1);
  // real is the only directory; loop, con and real/aux are files.
  EXPECT_TRUE(endsWith(run.output, summary(1, 3, 0, 2))) << run.output;
  const auto rows = storedRows();
  std::vector<std::string> paths = decodedPaths(rows);
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{site.path() + "/con", site.path() + "/real/aux"}));
  for (const auto& row : rows) EXPECT_EQ(row.filetype, "1");
}

TEST(ScanRun, ATreeFiveThousandLevelsDeepIsWalkedWholeBeyondPathMax) {
  ScannerProgramDir dir;
  TemporaryDir site;
  const int depth = 5000;
  ASSERT_TRUE(scanner_test::makeDeepChain(site.path(), depth, "d", {"con.txt", "plain"}));
  dir.writeScanList({site.path()});
  // Far fewer descriptors than levels: the walk must not hold one per level.
  const ScannerRun run = dir.run({"/FileScan"}, "", 64);
  scanner_test::removeTree(site.path() + "/d");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(endsWith(run.output, summary(depth, 2, 0, 1)));
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 1u);
  std::string expected = site.path();
  for (int i = 0; i < depth; ++i) expected += "/d";
  expected += "/con.txt";
  EXPECT_GT(expected.size(), 4096u);
  EXPECT_EQ(decodedPath(rows[0].filepath), expected);
}

TEST(ScanRun, APathLongerThanTheSmallBase64BufferIsStoredWhole) {
  // 110 levels of 240-byte names: about 26,500 characters, more than a 65,536-character Base64
  // text can hold, still within the 32,767 characters the walk accepts.
  ScannerProgramDir dir;
  TemporaryDir site;
  const std::string component(240, 'x');
  ASSERT_TRUE(scanner_test::makeDeepChain(site.path(), 110, component, {"nul"}));
  dir.writeScanList({site.path()});
  dir.run();
  scanner_test::removeTree(site.path() + "/" + component);
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 1u);
  const std::string path = decodedPath(rows[0].filepath);
  EXPECT_GT(path.size(), 24575u);
  EXPECT_EQ(path.substr(path.size() - 4), "/nul");
  EXPECT_GT(rows[0].filepath.size(), 65536u);
  EXPECT_EQ(rows[0].filechkval.size(), 32u);
}

TEST(ScanRun, ANameThatIsNotUtf8IsRecordedAndDecodesToItsExactBytes) {
  ScannerProgramDir dir;
  TemporaryDir site;
  const std::string name = "con.\xff\xfe\x80z";
  touch(site.path() + "/" + name);
  touch(site.path() + "/\xc3(.");
  dir.writeScanList({site.path()});
  dir.run();
  std::vector<std::string> paths = decodedPaths(storedRows());
  std::sort(paths.begin(), paths.end());
  std::vector<std::string> expected = {site.path() + "/" + name, site.path() + "/\xc3(."};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(paths, expected);
}

TEST(ScanRun, ARowTheStoreRefusesIsWrittenToTheRunLogAndTheOthersAreKept) {
  ScannerProgramDir dir;
  ASSERT_EQ(qevExecuteSql("create trigger refuse_aux before insert on fileinfo when new.filename = "
                          "'YQB1AHgA' begin select raise(abort, 'refused'); end"),
            1);
  TemporaryDir site;
  touch(site.path() + "/aux");
  touch(site.path() + "/con");
  touch(site.path() + "/nul");
  dir.writeScanList({site.path()});
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 1);
  std::vector<std::string> paths = decodedPaths(storedRows());
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<std::string>{site.path() + "/con", site.path() + "/nul"}));
  const std::string log = scanner_test::readFile(dir.path() + "__Sorrelscan.log");
  EXPECT_NE(log.find(" - 写入数据库失败，未记录的特殊文件：" + site.path() + "/aux\r\n"),
            std::string::npos)
      << log;
}

}  // namespace
