#pragma once
#include <string>

#include "common/messages/operator_message.h"

// Every message box of the desktop program goes through one Prompter, so that dialog logic can be
// driven by tests without exec(): production shows QMessageBox, tests answer from a script.
enum class PromptButtons { Ok, YesNo, OkCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
 public:
  virtual ~Prompter() = default;

  virtual PromptAnswer prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) = 0;

  // An OK box with the given icon (refusals and input errors use the question icon).
  void inform(const std::string& text, MessageIcon icon) { prompt(text, icon, PromptButtons::Ok); }
  // Yes/No with the question icon; true only for Yes.
  bool askYesNo(const std::string& text) {
    return prompt(text, MessageIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes;
  }
  // OK/Cancel with the question icon; true only for OK.
  bool askOkCancel(const std::string& text) {
    return prompt(text, MessageIcon::Question, PromptButtons::OkCancel) == PromptAnswer::Ok;
  }
};
