#pragma once
#include <string>

// A number typed or received as decimal text, read the way atoi reads it: leading white space and
// one sign allowed, reading stops at the first non-digit, no digits give 0. Values beyond the
// range of long long read as its largest or smallest value, so a long run of digits can never
// wrap into a small number.
long long qevReadDecimal(const std::string& text);
