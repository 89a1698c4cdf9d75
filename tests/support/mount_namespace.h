#pragma once
#include <string>

// Tests that need volumes of their own run again in a private mount namespace, where they may
// mount tmpfs file systems without touching the machine's mounts.
//
// In a test body: `if (!InPrivateMountNamespace()) { RerunInPrivateMountNamespace(); return; }`.
// The outer run re-executes this test program under `unshare -m` with only the current test
// selected and checks that it passed; it skips when the namespace cannot be made.
bool InPrivateMountNamespace();
void RerunInPrivateMountNamespace();
// The same, in a private PID namespace too (its own /proc): the test sees only its own
// processes, so running or ending "every Sorrelscan" never meets another test's scanner.
void RerunInPrivateMountAndPidNamespace();

// Mounts a small tmpfs at directory (inside the private namespace only).
bool MountTmpfs(const std::string& directory);

// The first line of a test body that needs them: the outer run re-executes the test inside.
#define RUN_IN_PRIVATE_MOUNT_NAMESPACE() \
  if (!InPrivateMountNamespace()) {      \
    RerunInPrivateMountNamespace();      \
    return;                              \
  }
#define RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES() \
  if (!InPrivateMountNamespace()) {               \
    RerunInPrivateMountAndPidNamespace();         \
    return;                                       \
  }
