#include "maintenance/restore/restore_pass.h"

#include <vector>

#include "common/platform/directory_handle.h"
#include "common/platform/volume.h"
#include "maintenance/cleaning/backup_directory.h"
#include "maintenance/restore/cleaned_rows.h"

namespace {

using sorrel::platform::DirectoryHandle;
using sorrel::platform::EntryKind;

// Entries whose rows are reset in one transaction before they move: one commit (and its wait
// for the disk) serves many moves.
constexpr std::size_t kRowBatch = 1000;

// The root followed by the relative path below it ("" is the root itself, else "/a/b").
std::string below(const std::string& root, const std::string& relative) {
  if (relative.empty()) return root;
  return root == "/" ? relative : root + relative;
}

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// An entry whose place is free, waiting for its move.
struct FreeEntry {
  std::string level;  // relative path of its directory
  std::string name;
};

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
      const std::string level = pending.back();
      pending.pop_back();
      entered.push_back(level);
      decideLevel(level, pending);
      if (free_.size() >= kRowBatch) moveFreeEntries();
    }
    moveFreeEntries();
    if (!dryRun_) removeEmptyDirectories(entered);
    return result_;
  }

 private:
  // Decides the entries of one directory of the backup tree whose place is a directory too:
  // free places wait for their move, existing directories are entered, the rest stays.
  void decideLevel(const std::string& level, std::vector<std::string>& pending) {
    const DirectoryHandle backup = DirectoryHandle::open(below(location_.directory, level));
    const DirectoryHandle place = openPlace(level);
    std::vector<DirectoryHandle::Entry> entries;
    // The level changed since it was entered (moved, replaced by a link, another mount): what
    // is in it stays.
    if (!place.valid() || !isOnVolume(backup) || !backup.list(entries)) {
      report(RestoreOutcome::NotMoved, level);
      return;
    }
    for (const DirectoryHandle::Entry& entry : entries) {
      const std::string relative = level + "/" + entry.name;
      if (entry.kind == EntryKind::Error || entry.device != location_.device || isInBackupRoot(relative)) {
        report(RestoreOutcome::NotMoved, relative);
        continue;
      }
      const sorrel::platform::EntryStatus target = place.look(entry.name);
      if (target.kind == EntryKind::NotFound && holdsMountPoint(relative)) {
        // Moved whole, it would carry another file system into the website tree.
        report(RestoreOutcome::NotMoved, relative);
      } else if (target.kind == EntryKind::NotFound) {
        free_.push_back({level, entry.name});
      } else if (entry.kind == EntryKind::Directory && target.kind == EntryKind::Directory &&
                 target.device == location_.device) {
        pending.push_back(relative);
      } else {
        report(RestoreOutcome::PlaceTaken, relative);
      }
    }
  }

  // Moves the waiting entries back. Their rows are reset first, in one transaction: killed
  // before a move, they already say what the next run makes true. A move that fails gives its
  // rows back their old state.
  void moveFreeEntries() {
    if (dryRun_) {
      for (const FreeEntry& entry : free_) report(RestoreOutcome::WouldRestore, entry.level + "/" + entry.name);
      free_.clear();
      return;
    }
    std::vector<std::string> places;
    for (const FreeEntry& entry : free_) places.push_back(placeOf(entry.level + "/" + entry.name));
    const std::vector<std::vector<CleanedRows::Row>> reset = rows_.resetAt(places, true);
    std::vector<CleanedRows::Row> stayed;
    DirectoryHandle backup;
    DirectoryHandle place;
    for (std::size_t i = 0; i < free_.size(); ++i) {
      const FreeEntry& entry = free_[i];
      // Entries of one level follow each other: its two directories are opened once.
      if (i == 0 || entry.level != free_[i - 1].level) {
        backup = DirectoryHandle::open(below(location_.directory, entry.level));
        place = openPlace(entry.level);
      }
      const DirectoryHandle::MoveResult moved = isOnVolume(backup) && place.valid()
                                                    ? backup.moveNoReplace(entry.name, place, entry.name)
                                                    : DirectoryHandle::MoveResult::Failed;
      const std::string relative = entry.level + "/" + entry.name;
      if (moved == DirectoryHandle::MoveResult::Moved) {
        result_.rowsReset += static_cast<unsigned>(reset[i].size());
        report(RestoreOutcome::Restored, relative);
        continue;
      }
      stayed.insert(stayed.end(), reset[i].begin(), reset[i].end());
      report(moved == DirectoryHandle::MoveResult::TargetExists ? RestoreOutcome::PlaceTaken
                                                                 : RestoreOutcome::NotMoved,
             relative);
    }
    rows_.undo(stayed);
    free_.clear();
  }

  // Children before their parents: the reverse of the order the levels were entered in. A
  // directory whose contents all went back into an existing directory is itself back too.
  void removeEmptyDirectories(const std::vector<std::string>& entered) {
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
      if (it->empty()) continue;
      const DirectoryHandle parent = DirectoryHandle::open(below(location_.directory, parentOf(*it)));
      if (parent.removeEmptyDirectory(nameOf(*it))) {
        result_.rowsReset += static_cast<unsigned>(rows_.resetAt({placeOf(*it)}, false).front().size());
      }
    }
    const std::string dateDirectory = parentOf(location_.directory);
    if (DirectoryHandle::open(dateDirectory).removeEmptyDirectory(location_.time)) {
      DirectoryHandle::open(backupRoot_).removeEmptyDirectory(location_.date);
    }
  }

  DirectoryHandle openPlace(const std::string& level) const {
    DirectoryHandle place = DirectoryHandle::open(placeOf(level));
    return isOnVolume(place) ? std::move(place) : DirectoryHandle();
  }

  bool isOnVolume(const DirectoryHandle& directory) const {
    return directory.valid() && directory.device() == location_.device;
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
  std::vector<FreeEntry> free_;
  RestoreResult result_;
};

}  // namespace

RestoreResult qevRestoreBackupTree(const BackupLocation& location, bool dryRun, const RestoreHooks& hooks) {
  return RestorePass(location, dryRun, hooks).run();
}
