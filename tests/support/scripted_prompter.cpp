#include "support/scripted_prompter.h"

PromptAnswer ScriptedPrompter::prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) {
  shown_.push_back({text, icon, buttons});
  if (!script_.empty()) {
    const PromptAnswer answer = script_.front();
    script_.pop_front();
    return answer;
  }
  switch (buttons) {
    case PromptButtons::Ok: return PromptAnswer::Ok;
    case PromptButtons::YesNo: return PromptAnswer::No;
    case PromptButtons::OkCancel: return PromptAnswer::Cancel;
  }
  return PromptAnswer::Cancel;
}
