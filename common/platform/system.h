#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

// Operating-system services of the program itself (process image, plain files by ANSI path).
namespace sorrel::platform {

// Absolute path of the running executable (/proc/self/exe); false when it cannot be read.
bool executablePath(std::string& path);

// lstat: true when an entry of exactly that name exists (links are not followed).
bool entryExists(const std::string& path);
bool isDirectory(const std::string& path);

// What a path names, links followed: a directory, something else, nothing (a component is
// missing or not a directory), or an entry that cannot be looked at (no permission, ...).
enum class PathState { Directory, NotDirectory, Missing, Inaccessible };
PathState pathState(const std::string& path);

// The absolute path with every link, "." and ".." resolved; false when it cannot be resolved.
bool resolvedPath(const std::string& path, std::string& resolved);

// mkdir with mode 0755; true when created.
bool makeDirectory(const std::string& path);

void sleepMilliseconds(int milliseconds);

// The local time now. The time zone is looked up once per process, not at every call.
std::tm localTimeNow();

// The current working directory (absolute, as the kernel knows it); false when it cannot be read.
bool currentDirectory(std::string& path);

// Reads a regular file of 1..maxBytes bytes from start to end in chunks through one small
// buffer, handing each chunk to consume. False when the file is missing, empty, too large, or
// does not deliver exactly the size it had when opened.
bool readFileInChunks(const std::string& path, std::uint64_t maxBytes,
                      const std::function<void(const char* bytes, std::size_t count)>& consume);

}  // namespace sorrel::platform
