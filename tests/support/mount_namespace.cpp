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
}  // namespace

bool InPrivateMountNamespace() { return std::getenv(kMarker) != nullptr; }

void RerunInPrivateMountNamespace() {
  if (runShell("unshare -m --propagation private true >/dev/null 2>&1") != 0 &&
      runShell("unshare -rm --propagation private true >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no private mount namespace can be made here";
  }
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter = std::string(info->test_suite_name()) + "." + info->name();
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string unshare = runShell("unshare -m --propagation private true >/dev/null 2>&1") == 0
                                  ? "unshare -m --propagation private "
                                  : "unshare -rm --propagation private ";
  const int status = runShell(std::string(kMarker) + "=1 " + unshare + quoted(self) +
                              " --gtest_filter=" + quoted(filter) + " >&2");
  EXPECT_EQ(status, 0) << "the test failed inside its private mount namespace";
}

bool MountTmpfs(const std::string& directory) {
  return runShell("mount -t tmpfs -o size=64m tmpfs " + quoted(directory)) == 0;
}
