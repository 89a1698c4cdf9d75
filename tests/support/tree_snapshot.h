#pragma once
#include <map>
#include <string>

// Every entry below root by its path relative to root: "dir", "file:<bytes>" or
// "link:<target>" (links are read, never followed). Two snapshots are equal when the trees hold
// the same names, kinds, contents and link targets.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotTree(const std::string& root);

// Makes parent directories as needed and writes the file.
void writeFileMakingParents(const std::string& path, const std::string& bytes);
