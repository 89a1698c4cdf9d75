#pragma once
#include <cstdint>
#include <string>

// Long paths: UTF-16 absolute paths ("/" at index 0) of up to 32,767 characters, taken literally.
// Paths longer than PATH_MAX work: they are resolved component by component relative to
// directory descriptors. Non-UTF-8 bytes travel as U+DC00 + byte (text_codec.h).

inline constexpr std::size_t kMaxLongPath = 32767;
inline constexpr std::uint64_t kMaxFileBytes = 104857599;  // 0x63FFFFF

// 0 error or refused, 1 file, 2 directory, 3 file not found (parent exists), 4 path not found.
int qevGetPathKind(const std::u16string& longPath);

// 0 error, refused or not found (size 0), 1 file, 2 directory; size of the entry itself.
int qevGetPathInfo(const std::u16string& longPath, std::uint64_t& size);

// Creates the parent directories of a file's long path. 1 if they exist afterwards and at least
// one level below "/" was processed, else 0.
int qevCreateLongPathParent(const std::u16string& longPath);

// Reads the whole file into buffer (capacity 1..104,857,599). The file must be non-empty and
// smaller than the capacity. 1 with the count read and the file size, else 0.
int qevReadWholeFile(const std::u16string& longPath, char* buffer, std::uint64_t capacity,
                     std::uint64_t& bytesRead, std::uint64_t& fileSize);

// Creates or truncates the file and writes count (1..104,857,599) bytes. 1 if written, else 0.
int qevWriteWholeFile(const std::u16string& longPath, const char* bytes, std::uint64_t count);
