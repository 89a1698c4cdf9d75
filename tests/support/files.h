#pragma once
#include <string>

// Whole-file helpers for test set-up and checks, independent of the code under test.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// UTF-16 form of a byte path (lossless), failing the current test when it does not convert.
std::u16string wide(const std::string& path);
