#pragma once
#include <functional>
#include <string>

// Unattended errors go to the system log: identity = the program's name, priority LOG_ERR,
// message "60001: text one | text two | text three" with the texts present, in order.
inline constexpr int kEventId = 60001;

// The identity used by qevReportEvent ("Sorrelscan" or "Sorrelmede"); set once at start.
void qevSetEventSource(const std::string& programName);

// Any text may be nullptr (absent). Best effort: never fails visibly.
void qevReportEvent(const char* text1, const char* text2, const char* text3);

// The message qevReportEvent sends, for tests and for callers that also print it.
std::string qevFormatEvent(const char* text1, const char* text2, const char* text3);

// The identity set by qevSetEventSource ("Sorrel" until one is set).
std::string qevEventSourceName();

// Tests watch what is reported: the observer gets each message qevReportEvent sends (it is still
// sent to the system log). An empty observer removes it.
using EventReportObserver = std::function<void(const std::string& message)>;
void qevSetEventReportObserver(EventReportObserver observer);
