#include "common/messages/operator_message.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex hookMutex;
OperatorMessageHook installedHook;
}  // namespace

void qevSetOperatorMessageHook(OperatorMessageHook hook) {
  std::lock_guard lock(hookMutex);
  installedHook = std::move(hook);
}

void qevShowOperatorMessage(const std::string& text, MessageIcon icon) {
  OperatorMessageHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = installedHook;
  }
  if (hook) {
    hook(text, icon);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}
