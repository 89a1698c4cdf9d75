#pragma once
#include <string>

// Moves an entry (file or directory) to a new long path on the same file system without ever
// replacing an existing target (renameat2 with RENAME_NOREPLACE): the move is atomic, so an entry
// is always whole at exactly one of the two places.
// 1 moved; 0 refused or failed (target exists, other file system, missing source...).
int qevMoveNoReplace(const std::u16string& fromLongPath, const std::u16string& toLongPath);

