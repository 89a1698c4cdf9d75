#include "maintenance/restore/restore_pass.h"

#include <vector>

#include "common/platform/directory_handle.h"
#include "common/platform/volume.h"
#include "maintenance/cleaning/backup_directory.h"
#include "maintenance/restore/cleaned_rows.h"

namespace {

using sorrel::platform::DirectoryHandle;
using sorrel::platform::EntryKind;

// "/" + the relative path below both tree roots ("" is the root itself).
std::string below(const std::string& root, const std::string& relative) {
  if (relative.empty()) return root;
  return root == "/" ? relative : root + relative;
}

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

class RestorePass {
 public:
  RestorePass(const BackupLocation& location, bool dryRun, const RestoreHooks& hooks)
      : location_(location), dryRun_(dryRun), hooks_(hooks),
        backupRoot_(below(location.volumeRoot, "/" + std::string(kBackupRootName))) {}

  RestoreResult run() {
    if (!dryRun_ && !rows_.load()) return result_;
    result_.code = 1;
    std::vector<std::string> pending{""};
    std::vector<std::string> entered;
    while (!pending.empty()) {
      const std::string relative = pending.back();
      pending.pop_back();
      entered.push_back(relative);
      restoreLevel(relative, pending);
    }
    if (!dryRun_) removeEmptyDirectories(entered);
    return result_;
  }

 private:
  // Handles the entries of one directory of the backup tree whose place is a directory too.
  void restoreLevel(const std::string& relative, std::vector<std::string>& pending) {
    const DirectoryHandle backup = DirectoryHandle::open(below(location_.directory, relative));
    const DirectoryHandle place = DirectoryHandle::open(below(location_.volumeRoot, relative));
    std::vector<DirectoryHandle::Entry> entries;
    // The level changed since it was entered (moved, replaced by a link, another mount): what
    // is in it stays.
    if (!backup.valid() || !place.valid() || backup.device() != location_.device ||
        place.device() != location_.device || !backup.list(entries)) {
      report(RestoreOutcome::NotMoved, relative);
      return;
    }
    for (const DirectoryHandle::Entry& entry : entries) {
      const std::string entryRelative = relative + "/" + entry.name;
      if (entry.kind == EntryKind::Error || entry.device != location_.device || isInBackupRoot(entryRelative)) {
        report(RestoreOutcome::NotMoved, entryRelative);
        continue;
      }
      const sorrel::platform::EntryStatus target = place.look(entry.name);
      if (target.kind == EntryKind::NotFound && holdsMountPoint(entryRelative)) {
        // Moved whole, it would carry another file system into the website tree.
        report(RestoreOutcome::NotMoved, entryRelative);
      } else if (target.kind == EntryKind::NotFound) {
        moveBack(backup, place, entry.name, entryRelative);
      } else if (entry.kind == EntryKind::Directory && target.kind == EntryKind::Directory &&
                 target.device == location_.device) {
        pending.push_back(entryRelative);
      } else {
        report(RestoreOutcome::PlaceTaken, entryRelative);
      }
    }
  }

  void moveBack(const DirectoryHandle& backup, const DirectoryHandle& place, const std::string& name,
                const std::string& relative) {
    if (dryRun_) {
      report(RestoreOutcome::WouldRestore, relative);
      return;
    }
    // The rows first: killed before the move, they already say what the next run will make true.
    const std::vector<CleanedRows::Row> reset = rows_.resetAt(placeOf(relative), true);
    switch (backup.moveNoReplace(name, place, name)) {
      case DirectoryHandle::MoveResult::Moved:
        result_.rowsReset += static_cast<unsigned>(reset.size());
        report(RestoreOutcome::Restored, relative);
        return;
      case DirectoryHandle::MoveResult::TargetExists:
        rows_.undo(reset);
        report(RestoreOutcome::PlaceTaken, relative);
        return;
      case DirectoryHandle::MoveResult::Failed:
        rows_.undo(reset);
        report(RestoreOutcome::NotMoved, relative);
        return;
    }
  }

  // Children before their parents: the reverse of the order the levels were entered in. A
  // directory whose contents all went back into an existing directory is itself back too.
  void removeEmptyDirectories(const std::vector<std::string>& entered) {
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
      if (it->empty()) continue;
      const DirectoryHandle parent = DirectoryHandle::open(below(location_.directory, parentOf(*it)));
      if (parent.removeEmptyDirectory(nameOf(*it))) {
        result_.rowsReset += static_cast<unsigned>(rows_.resetAt(placeOf(*it), false).size());
      }
    }
    const std::string dateDirectory = parentOf(location_.directory);
    if (DirectoryHandle::open(dateDirectory).removeEmptyDirectory(location_.time)) {
      DirectoryHandle::open(backupRoot_).removeEmptyDirectory(location_.date);
    }
  }

  bool holdsMountPoint(const std::string& relative) const {
    const std::string path = below(location_.directory, relative);
    for (const sorrel::platform::MountPoint& mount : mounts_) {
      if (mount.path == path || mount.path.compare(0, path.size() + 1, path + "/") == 0) return true;
    }
    return false;
  }

  // Cleaning never takes entries from the backup root; a restore never puts any there.
  bool isInBackupRoot(const std::string& relative) const {
    const std::string place = placeOf(relative);
    return place == backupRoot_ || place.compare(0, backupRoot_.size() + 1, backupRoot_ + "/") == 0;
  }

  std::string placeOf(const std::string& relative) const { return below(location_.volumeRoot, relative); }

  void report(RestoreOutcome outcome, const std::string& relative) {
    switch (outcome) {
      case RestoreOutcome::Restored:
      case RestoreOutcome::WouldRestore: ++result_.restored; break;
      case RestoreOutcome::PlaceTaken: ++result_.placeTaken; break;
      case RestoreOutcome::NotMoved: ++result_.notMoved; break;
    }
    if (hooks_.onItem) hooks_.onItem({outcome, below(location_.directory, relative), placeOf(relative)});
  }

  const BackupLocation& location_;
  const bool dryRun_;
  const RestoreHooks& hooks_;
  const std::string backupRoot_;
  const std::vector<sorrel::platform::MountPoint> mounts_ = sorrel::platform::readMountTable();
  CleanedRows rows_;
  RestoreResult result_;
};

}  // namespace

RestoreResult qevRestoreBackupTree(const BackupLocation& location, bool dryRun, const RestoreHooks& hooks) {
  return RestorePass(location, dryRun, hooks).run();
}
