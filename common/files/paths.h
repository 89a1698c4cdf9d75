#pragma once
#include <string>

// Path helpers on ANSI (UTF-8) paths of at most 260 bytes.

// 1 if a file or directory of exactly that name exists (links are not followed), else 0.
// Paths of 0..3 bytes or of 260 bytes and more answer 0 without looking.
int qevPathExists(const std::string& path);

// 1 if a directory of exactly that name exists (a final link is not followed, so a link to a
// directory answers 0), else 0. The same length bounds as qevPathExists.
int qevDirectoryExists(const std::string& path);

// 1 if the path names a directory once links are followed (a link to a directory answers 1),
// else 0. The same length bounds as qevPathExists.
int qevResolvesToDirectory(const std::string& path);

// Creates every missing level of an absolute directory path ("/" at index 0, 3..260 bytes).
// 1 if every level exists afterwards and at least one level below "/" was processed, else 0.
int qevCreateDirectoryChain(const std::string& path);

// Collapses every run of "/" to one "/".
std::string qevCollapseSeparators(std::string path);

// Program directory + relative path pieces, separators collapsed. Answers "" when the program
// directory cannot be determined.
std::string qevProgramPath(const std::string& relative);
