#pragma once
#include <string>

#include "scanner/scan_session.h"

// Longest path the walk accepts, in UTF-16 characters.
inline constexpr std::size_t kMaxWalkPath = 32767;

// Walks the tree below an absolute path depth first: every entry is classified (and a special
// one recorded), a directory before its contents. Links are classified by their own name and
// never followed. 1 after listing the directory, 0 when the path was refused or not listable.
int ScanDirectory(ScanSession& session, const std::u16string& path);

// Hidden and system attributes do not exist here: 1 when the entry exists (links not
// followed), 0 when the path is refused or the entry does not exist.
int ClearHiddenSystem(const std::u16string& path);
