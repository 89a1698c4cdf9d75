#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Whole-file reads and writes of ANSI-path text files (list files, settings-side files, logs).
// Readers hold a shared lock, writers an exclusive one; a held lock is a sharing violation,
// retried 31 times 100 ms apart.

// How a name pattern treats letter case: exactly, or without regard to it (the patterns of files
// that Windows programs name, such as the downloaded logs).
enum class NameCase { Exact, Ignored };

// Files matching a pattern "/dir/<glob>" (the last component may hold * and ?): plain files of
// 10 bytes .. 888 MiB in listing order. 1 if at least one was listed, else 0.
int qevFindFiles(const std::string& pattern, std::vector<std::string>& names,
                 std::vector<std::string>& paths, NameCase nameCase = NameCase::Exact);

// Reads the file's bytes as they are (1..104,857,599 bytes). The path must be 1..259 bytes.
// 1 read, else 0 (text emptied).
int qevReadFileText(const std::string& path, std::string& text);
// The same without the path-length bound (only a missing path is refused).
int qevReadFileTextUnbounded(const std::string& path, std::string& text);

// Replaces the file with the text ("\r\n" for an empty text), atomically. 1 written, else 0.
int qevWriteFileText(const std::string& path, const std::string& text);

// Puts text in front of the file's bytes (a missing or empty file counts as empty) under one
// exclusive lock and replaces the file atomically, so no writer in between is lost. 1 written;
// 0 not, and the file is unchanged (also when its bytes could not be read).
int qevPrependFileText(const std::string& path, const std::string& text);

// Creates or truncates the file with count bytes. 1 written, else 0.
int qevWriteFileBytes(const std::string& path, const char* bytes, std::size_t count);
