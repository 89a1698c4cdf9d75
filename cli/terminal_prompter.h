#pragma once
#include "cli/terminal.h"
#include "common/messages/prompter.h"

// The Prompter of sorrel. Information goes to standard output; refusals, warnings and
// failures (every other icon) are failure lines on standard error. A question is asked on a
// terminal ("y"/"yes"/"是" is Yes, "ok"/"确定" also OK; anything else No or Cancel). Without a
// terminal it is answered No (Cancel) and a failure line says so, unless the operator passed
// --yes, which answers every question Yes (OK) without asking.
class TerminalPrompter : public Prompter {
 public:
  TerminalPrompter(Terminal& terminal, bool assumeYes) : terminal_(terminal), assumeYes_(assumeYes) {}

  PromptAnswer prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) override;

  // Questions answered No (Cancel) because nobody could be asked.
  int unaskedQuestions() const { return unasked_; }
  // Questions the operator answered No (Cancel) on the terminal.
  int declinedQuestions() const { return declined_; }

 private:
  Terminal& terminal_;
  const bool assumeYes_;
  int unasked_ = 0;
  int declined_ = 0;
};

// The answer that means yes for these buttons, and the one that means no.
PromptAnswer qevPositiveAnswer(PromptButtons buttons);
PromptAnswer qevNegativeAnswer(PromptButtons buttons);
