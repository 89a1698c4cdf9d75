#include "common/platform/volume.h"

#include <gtest/gtest.h>

namespace {

using sorrel::platform::MountPoint;

const char* const kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 0:25 / /srv rw shared:2 - tmpfs tmpfs rw\n"
    "31 30 0:26 / /srv/web\\040site rw shared:3 - tmpfs tmpfs rw\n"
    "32 22 0:27 / /srv2 rw - tmpfs tmpfs rw\n"
    "33 30 0:28 / /srv rw - tmpfs tmpfs rw\n"
    "not a mount line\n";

TEST(Volume, MountTableDecodesEscapedMountPoints) {
  const auto table = sorrel::platform::parseMountInfo(kMountInfo);
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(table[2].path, "/srv/web site");
}

TEST(Volume, EntryBelongsToLongestLeadingMountPoint) {
  const auto table = sorrel::platform::parseMountInfo(kMountInfo);
  struct Case {
    const char* path;
    const char* volume;
  };
  const Case cases[] = {
      {"/etc/passwd", "/"},
      {"/srv", "/srv"},
      {"/srv/a/con.", "/srv"},
      {"/srv2/a", "/srv2"},          // a mount point that merely starts like another
      {"/srvx/a", "/"},
      {"/srv/web site/nul.txt", "/srv/web site"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    MountPoint volume;
    ASSERT_TRUE(sorrel::platform::findVolume(table, c.path, volume));
    EXPECT_EQ(volume.path, c.volume);
  }
}

TEST(Volume, MountPointAtOrBelowAnEntryIsFound) {
  const auto table = sorrel::platform::parseMountInfo(kMountInfo);
  struct Case {
    const char* path;
    bool found;
  };
  const Case cases[] = {
      {"/srv/web site", true},  // the entry itself
      {"/srv", true},
      {"/srv/web", false},      // "/srv/web site" only starts like it
      {"/srv/a/con.", false},
      {"/etc", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(sorrel::platform::hasMountPointAtOrBelow(table, c.path), c.found);
  }
}

TEST(Volume, RelativePathHasNoVolume) {
  MountPoint volume;
  EXPECT_FALSE(sorrel::platform::findVolume(sorrel::platform::parseMountInfo(kMountInfo), "srv/a", volume));
}

TEST(Volume, ThisProcessHasARootMount) {
  MountPoint volume;
  ASSERT_TRUE(sorrel::platform::findVolume(sorrel::platform::readMountTable(), "/", volume));
  EXPECT_EQ(volume.path, "/");
}

}  // namespace
