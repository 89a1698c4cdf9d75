#pragma once
#include <string>
#include <vector>

// Normalises the text of a list edit: one entry per "\r\n"-separated line, each line trimmed,
// lines outside minLength..maxLength bytes dropped, duplicates dropped (first form kept), every
// kept line followed by "\r\n" in the normalised text.
//
// lowerCase lower-cases every line. directoryList marks a list of directories (the drive-root
// flag of the Windows form, whose "d:" -> "d:\" fix has no Linux counterpart): directory lines
// are paths and compare exactly, since Linux names are case-sensitive; other lists compare
// without regard to case.
//
// 1 when it ran; 0 with empty outputs when the text is empty or 104,857,600 bytes or longer, or
// when minLength is not below maxLength.
int qevNormalizeListText(const std::string& text, std::size_t minLength, std::size_t maxLength,
                         bool lowerCase, bool directoryList, std::string& normalized,
                         std::vector<std::string>& lines, int& count);
