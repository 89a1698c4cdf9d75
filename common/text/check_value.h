#pragma once
#include <string>

// Check value of bytes B with name N: hex(MD5(hex(MD5(B)) + salt + N)), 32 lower-case digits.
inline constexpr const char* kCheckSalt = "_(x)qpwoeiru.tyz_1999_";
inline constexpr const char* kCheckName = "Sorrelscan";

// 1 and the check value of the text's bytes (1..104,857,599 bytes; name 1..259 bytes), else 0.
int qevTextCheckValue(const std::string& text, const std::string& name, std::string& value);

// The second half of a check value: hex(MD5(firstDigest + salt + name)) for the 32-digit
// firstDigest = hex(MD5(bytes)). 1 and the value, else 0.
int qevCheckValueOfDigest(const std::string& firstDigest, const std::string& name, std::string& value);

// Check value of a file's bytes (1..104,857,599 bytes). ANSI path form and long path form.
// 1 and the value, else 0 (value untouched).
int qevFileCheckValue(const std::string& path, const std::string& name, std::string& value);
int qevFileCheckValue(const std::u16string& longPath, const std::string& name, std::string& value);

// Scrambles the source file with the key, Base64-encodes it, writes it to the destination and
// answers 1 with the check value of the Base64 text, else 0.
int qevPackFileForReport(const std::u16string& sourceLongPath,
                         const std::u16string& destinationLongPath, const std::string& key,
                         const std::string& name, std::string& value);
