#pragma once
#include <string>
#include <utility>
#include <vector>

// JSON texts for --json output.

// A JSON string literal of text. Valid UTF-8 stays as it is; control characters, quotes and
// backslashes are escaped; a byte that is not part of valid UTF-8 (a file name that is not
// UTF-8) becomes \udcXX, the same lone-surrogate form the programs use for such bytes, so
// nothing is lost and the output stays valid JSON.
std::string qevJsonString(const std::string& text);

// One object whose values are the given JSON texts, keys in the given order.
std::string qevJsonObject(const std::vector<std::pair<std::string, std::string>>& members);

// One array of the given JSON texts, one element per line: "[]" when there is none.
std::string qevJsonArray(const std::vector<std::string>& elements);
