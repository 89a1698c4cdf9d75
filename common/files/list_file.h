#pragma once
#include <string>
#include <vector>

// Reads <program directory>config/<fileName> into list: lines trimmed, "\r" and "\n" removed,
// comments (";") and lines shorter than 2 bytes skipped, exact duplicates skipped. Paths keep
// their case. 1 at end of file, 0 on any failure (lines added before it stay in the list).
int qevReadTxtFileLine(const std::string& fileName, std::vector<std::string>& list);
