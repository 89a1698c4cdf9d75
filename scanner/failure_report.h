#pragma once
#include <string>

// A failure of the scanner: the console text (with its leading "\r\n") is printed, and the text
// without it goes to the system log (as the first or the second insertion string) and to the
// run log.
class ConsoleOutput;

enum class MessagePlace { First, Second };

void ReportFailure(ConsoleOutput& console, const char* consoleText, MessagePlace place);

// The console text without its leading "\r\n".
std::string WithoutLeadingLineBreak(const char* consoleText);

// Appends one line to the scanner's run log (1 MiB limit).
void WriteScannerRunLog(const std::string& text);
