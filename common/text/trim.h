#pragma once
#include <string>

// The white space trimmed from operator fields and protocol lines: blank, TAB, CR, LF, vertical
// tab and form feed.
inline constexpr const char* kWhiteSpace = " \t\r\n\v\f";

// The text without white space at either end ("" when it holds nothing else).
std::string qevTrimWhiteSpace(const std::string& text);
