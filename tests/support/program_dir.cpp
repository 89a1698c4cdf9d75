#include "support/program_dir.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <stdexcept>

#include "common/files/exe_dir.h"

namespace {

std::string makeTemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sorrel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

}  // namespace

TemporaryDir::TemporaryDir() : path_(makeTemporaryDirectory()) {}

TemporaryDir::~TemporaryDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

TemporaryProgramDir::TemporaryProgramDir() : path_(makeTemporaryDirectory() + "/") {
  std::filesystem::create_directories(path_ + "config");
  // Made fresh from the schema: the staged store may hold the rows of an earlier demo scan.
  const std::string make = std::string(SORREL_BINARY_DIR) + "/tools/sorrel_make_store '" +
                           SORREL_SOURCE_DIR + "/common/store/schema.sql' '" + store() + "'";
  if (runShell(make) != 0) throw std::runtime_error("cannot make the data store: " + make);
  qevOverrideExeDirForTesting(path_);
}

TemporaryProgramDir::~TemporaryProgramDir() {
  qevOverrideExeDirForTesting("");
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

int runShell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
