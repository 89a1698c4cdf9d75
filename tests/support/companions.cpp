#include "support/companions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/text/check_value.h"
#include "support/files.h"

namespace fs = std::filesystem;

void writeCheckValueFile(const std::string& checkFile, const std::string& path) {
  std::string value;
  ASSERT_EQ(qevFileCheckValue(path, kCheckName, value), 1) << path;
  writeFile(checkFile, "[Sorrelscan]\r\nFileChkVal=" + value + "\r\n");
}

void writeCompanion(const std::string& programDir, const std::string& name, const std::string& body) {
  const std::string path = programDir + name;
  const std::string record = programDir + name + ".args";
  writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".tmp' && mv '" + record + ".tmp' '" + record +
                      "'\n" + body + "\n");
  fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  writeCheckValueFile(programDir + "config/" + name + ".in", path);
}

std::string waitForReleaseBody(const std::string& programDir) {
  // Also ends once the program directory is gone, so no script outlives its test.
  return "i=0; while [ ! -e '" + programDir + "release' ] && [ -d '" + programDir + "config' ] && [ $i -lt 1200 ]; "
         "do sleep 0.05; i=$((i+1)); done";
}

std::string companionArguments(const std::string& programDir, const std::string& name) {
  const std::string record = programDir + name + ".args";
  return fs::exists(record) ? readFile(record) : std::string();
}

bool waitForCompanionRun(const std::string& programDir, const std::string& name, int limitSeconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
  while (!fs::exists(programDir + name + ".args")) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void writeHelpPage(const std::string& programDir, const std::string& content) {
  writeFile(programDir + "config/HelpMon.dat", content);
  writeCheckValueFile(programDir + "config/HelpMon.Dat.in", programDir + "config/HelpMon.dat");
}
