#pragma once
#include <cstdint>
#include <string>

// Operating-system services of the program itself (process image, plain files by ANSI path).
namespace sorrel::platform {

// Absolute path of the running executable (/proc/self/exe); false when it cannot be read.
bool executablePath(std::string& path);

// lstat: true when an entry of exactly that name exists (links are not followed).
bool entryExists(const std::string& path);
bool isDirectory(const std::string& path);

// mkdir with mode 0755; true when created.
bool makeDirectory(const std::string& path);

void sleepMilliseconds(int milliseconds);

// Reads a regular file of 1..maxBytes bytes whole; false otherwise (bytes emptied).
bool readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes);

}  // namespace sorrel::platform
