#pragma once
#include <string>

// A failure of the scanner: the console text (with its leading "\r\n") is printed, the text
// without it goes to the system log with the given insertion strings around it, and, when asked,
// to the run log.
class ConsoleOutput;

enum class MessagePlace { First, Second };

void ReportFailure(ConsoleOutput& console, const char* consoleText, MessagePlace place,
                   bool writeRunLog);

// The console text without its leading "\r\n".
std::string WithoutLeadingLineBreak(const char* consoleText);

// Appends one line to the scanner's run log (1 MiB limit).
void WriteScannerRunLog(const std::string& text);
