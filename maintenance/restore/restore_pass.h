#pragma once
#include <functional>
#include <string>

#include "maintenance/restore/backup_location.h"

// What became of one entry of a backup tree.
enum class RestoreOutcome {
  Restored,      // moved back to its place
  WouldRestore,  // a dry run: its place is free
  PlaceTaken,    // something else is at its place: the entry stays in the backup tree
  NotMoved,      // unreadable, on another file system, or the move failed: it stays too
};

struct RestoreItem {
  RestoreOutcome outcome = RestoreOutcome::NotMoved;
  std::string backupPath;  // where the entry is (was) in the backup tree
  std::string place;       // the same path below the volume root
};

struct RestoreHooks {
  std::function<void(const RestoreItem& item)> onItem;  // every entry, as it is decided
};

struct RestoreResult {
  int code = 0;             // 1 the tree was worked through, 0 the data store could not be read
  unsigned restored = 0;    // moved back (in a dry run: would be)
  unsigned placeTaken = 0;
  unsigned notMoved = 0;
  unsigned rowsReset = 0;   // fileinfo rows given back their state
};

// Puts the entries of a backup directory back to the same paths below its volume root. The
// trees are walked together from the top: an entry whose place is free is moved back whole
// (file, link as a link, or directory with everything in it); a directory whose place is an
// existing directory is entered and its entries handled the same way; anything else stays and
// is reported. Links are never followed on either side, moves never replace an entry and never
// leave the volume, an entry that holds a mount point is not moved, and nothing is restored into
// the backup root itself.
//
// Before entries move, the cleaned rows (state '1') of their places and of everything below
// them get '0' and "未处理" back (in one transaction for up to 1,000 entries); a
// failed move puts its rows back as they were. So a restore killed at any moment leaves every
// entry whole at one of its two places and the rows of every moved entry reset, and running it
// again finishes the work. Afterwards directories left empty in the backup tree
// are removed, the backup directory and its date directory too once empty.
//
// A dry run decides the same way and reports every entry, but moves, removes and writes nothing.
RestoreResult qevRestoreBackupTree(const BackupLocation& location, bool dryRun, const RestoreHooks& hooks);
