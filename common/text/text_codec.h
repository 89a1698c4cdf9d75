#pragma once
#include <string>

// ANSI text is UTF-8 here. Conversion is lossless for every byte string: a byte that is not part
// of valid UTF-8 becomes the lone surrogate U+DC00 + byte, and converts back to the same byte.
// Both answer 1 converted; 2 input empty or longer than 10,485,759 units (output empty);
// 0 conversion failed (output empty).
int qevWideToAnsi(const std::u16string& wide, std::string& ansi);
int qevAnsiToWide(const std::string& ansi, std::u16string& wide);

inline constexpr std::size_t kMaxConvertUnits = 10485759;  // 0x9FFFFF

// UTF-16LE bytes, low byte first, built explicitly (never by reinterpreting memory).
std::string qevUtf16LeBytes(const std::u16string& wide);
std::u16string qevFromUtf16LeBytes(const unsigned char* bytes, std::size_t count);
