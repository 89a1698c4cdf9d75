#pragma once
#include <string>

#include "scanner/scan_session.h"

// Longest path the walk accepts, in UTF-16 characters.
inline constexpr std::size_t kMaxWalkPath = 32767;

// Walks the tree below an absolute path depth first: every entry is classified (and a special
// one recorded), a directory before its contents. Links below the path are classified by their
// own name and never followed; a path that is or passes through a link is walked at the
// directory it resolves to. A subdirectory that cannot be opened is reported (ReportNotWalked).
// 1 after listing the directory, 0 when the path was refused or not listable.
int ScanDirectory(ScanSession& session, const std::u16string& path);

// Why ScanDirectory answered 0 for a path: one of the reason texts of console_texts.h.
const char* WhyNotWalked(const std::u16string& path);

// Names a directory that was not walked on the console and in the run log, and counts it.
void ReportNotWalked(ScanSession& session, const std::string& path, const char* reason);

// Hidden and system attributes do not exist here: 1 when the entry exists (links not
// followed), 0 when the path is refused or the entry does not exist.
int ClearHiddenSystem(const std::u16string& path);
