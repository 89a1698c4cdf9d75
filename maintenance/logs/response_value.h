#pragma once
#include <string>

// Looks a key up in an agent's text answer. The answer is split into lines at every character of
// separators (the protocol always passes CR and LF; a run of them is one break, empty lines are
// skipped). In each line the part before the first "=" is compared with key without regard to
// letter case, not trimmed: "key =x" does not match "key". The first matching line wins and its
// value is everything after that "=", not trimmed, "=" included. Zero bytes are ordinary bytes.
//
// true and the value (which may be empty) when found; false with an empty value when not, or when
// the answer or separators are empty.
bool qevGetResponseValue(const std::string& answer, const std::string& key, const std::string& separators,
                         std::string& value);
