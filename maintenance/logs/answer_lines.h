#pragma once
#include <functional>
#include <string_view>

// The lines of an agent's text answer: split at every character of separators, a run of them
// being one break, empty lines skipped. Each line goes to onLine in order until it answers false.
// The views point into text.
void qevForEachAnswerLine(std::string_view text, std::string_view separators,
                          const std::function<bool(std::string_view line)>& onLine);
