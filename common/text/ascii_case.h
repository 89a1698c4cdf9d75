#pragma once
#include <string>
#include <string_view>

// Letter case of ASCII letters only: bytes of other characters (UTF-8 included) stay as they are,
// so the result never depends on the locale.
char qevLowerAscii(char c);
std::string qevLowerAscii(std::string text);
bool qevEqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
