#include "common/messages/event_report.h"

#include <syslog.h>

#include <mutex>

namespace {
std::mutex sourceMutex;
std::string sourceName = "Sorrel";
std::mutex observerMutex;
EventReportObserver observer;
}  // namespace

void qevSetEventSource(const std::string& programName) {
  std::lock_guard lock(sourceMutex);
  sourceName = programName;
}

std::string qevEventSourceName() {
  std::lock_guard lock(sourceMutex);
  return sourceName;
}

std::string qevFormatEvent(const char* text1, const char* text2, const char* text3) {
  std::string message = std::to_string(kEventId) + ":";
  bool first = true;
  for (const char* text : {text1, text2, text3}) {
    if (text == nullptr) continue;
    message += first ? " " : " | ";
    message += text;
    first = false;
  }
  return message;
}

void qevSetEventReportObserver(EventReportObserver newObserver) {
  std::lock_guard lock(observerMutex);
  observer = std::move(newObserver);
}

void qevReportEvent(const char* text1, const char* text2, const char* text3) {
  const std::string identity = qevEventSourceName();
  const std::string message = qevFormatEvent(text1, text2, text3);
  {
    std::lock_guard lock(observerMutex);
    if (observer) observer(message);
  }
  // openlog keeps the identity pointer; syslog_r-style use: open, log, close under one lock.
  static std::mutex logMutex;
  std::lock_guard lock(logMutex);
  openlog(identity.c_str(), LOG_PID, LOG_USER);
  syslog(LOG_ERR, "%s", message.c_str());
  closelog();
}
