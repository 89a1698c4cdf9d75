#include "cli/terminal_prompter.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/text/ascii_case.h"
#include "common/text/trim.h"

namespace {

bool isYes(const std::string& answer, PromptButtons buttons) {
  constexpr std::array<std::string_view, 3> kYes = {"y", "yes", "是"};
  constexpr std::array<std::string_view, 2> kOk = {"ok", "确定"};
  const std::string text = qevLowerAscii(qevTrimWhiteSpace(answer));
  const bool yes = std::find(kYes.begin(), kYes.end(), text) != kYes.end();
  const bool ok = std::find(kOk.begin(), kOk.end(), text) != kOk.end();
  return yes || (buttons == PromptButtons::OkCancel && ok);
}

}  // namespace

PromptAnswer qevPositiveAnswer(PromptButtons buttons) {
  return buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
}

PromptAnswer qevNegativeAnswer(PromptButtons buttons) {
  return buttons == PromptButtons::OkCancel ? PromptAnswer::Cancel : PromptAnswer::No;
}

PromptAnswer TerminalPrompter::prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) {
  if (buttons == PromptButtons::Ok) {
    if (icon == MessageIcon::Information) {
      terminal_.print(text);
    } else {
      terminal_.fail(text);
    }
    return PromptAnswer::Ok;
  }
  if (assumeYes_) return qevPositiveAnswer(buttons);
  if (!terminal_.canAsk()) {
    ++unasked_;
    terminal_.fail(text + " -- no terminal to ask, answered no (--yes answers yes)");
    return qevNegativeAnswer(buttons);
  }
  const std::string hint = buttons == PromptButtons::OkCancel ? "[ok/Cancel]" : "[y/N]";
  if (isYes(terminal_.ask(text, hint), buttons)) return qevPositiveAnswer(buttons);
  ++declined_;
  return qevNegativeAnswer(buttons);
}
