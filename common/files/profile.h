#pragma once
#include <string>

// Windows profile ("INI") files: "[section]" and "key=value" lines, names compared without regard
// to case, blanks around names and values ignored, one pair of enclosing quotes stripped on read.
// Lines are written with "\r\n"; "\n" is accepted on read.
// Every write is a read-modify-write under an exclusive flock on the file that replaces the file
// atomically (temporary file beside it, fsync, rename), so no writer erases another's key.

// The value of key in section, or defaultValue when the file, section or key is missing.
std::string qevReadProfileString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& defaultValue);

// The leading decimal digits of the value (an optional sign allowed), or defaultValue when the
// key is missing; a value without leading digits reads as 0.
int qevReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                      int defaultValue);

// Replaces the key in place, else appends it to its section, else appends the section; creates
// the file when missing. 1 written, else 0.
int qevWriteProfileString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value);
