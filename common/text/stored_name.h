#pragma once
#include <string>

// Names and paths travel through the data store as Base64 of their UTF-16LE bytes.

// Base64 text of the UTF-16LE bytes of wide ("" for an empty text).
std::string qevEncodeStoredName(const std::u16string& wide);

// Decodes a stored name; false when the text is empty, does not decode to a whole number of
// UTF-16 units, or decodes to nothing.
bool qevDecodeStoredName(const std::string& base64, std::u16string& wide);
