#include "support/mount_namespace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/program_dir.h"

namespace {
constexpr const char* kMarker = "SORREL_PRIVATE_MOUNT_NAMESPACE";

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs the current test again under `unshare <options>` (as root, else in a user namespace with
// "-r" added) and checks that it passed there; skips when neither can be made.
void rerunUnder(const std::string& options) {
  const std::string asRoot = "unshare " + options + " ";
  const std::string rootless = "unshare -r " + options + " ";
  const bool root = runShell(asRoot + "true >/dev/null 2>&1") == 0;
  if (!root && runShell(rootless + "true >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no private namespace can be made here (unshare " << options << ")";
  }
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter = std::string(info->test_suite_name()) + "." + info->name();
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const int status = runShell(std::string(kMarker) + "=1 " + (root ? asRoot : rootless) + quoted(self) +
                              " --gtest_filter=" + quoted(filter) + " >&2");
  EXPECT_EQ(status, 0) << "the test failed inside its private namespace";
}
}  // namespace

bool InPrivateMountNamespace() { return std::getenv(kMarker) != nullptr; }

void RerunInPrivateMountNamespace() { rerunUnder("-m --propagation private"); }

void RerunInPrivateMountAndPidNamespace() { rerunUnder("-m --propagation private -fp --mount-proc"); }

bool MountTmpfs(const std::string& directory) {
  return runShell("mount -t tmpfs -o size=64m tmpfs " + quoted(directory)) == 0;
}
