#pragma once
#include <deque>
#include <string>
#include <vector>

#include "common/messages/prompter.h"

// A prompter for tests: answers from a script, in order, and records every message it was given.
// When the script is empty it answers No or Cancel (or Ok for a box without choice), so an
// unexpected question never confirms anything.
class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    std::string text;
    MessageIcon icon;
    PromptButtons buttons;
  };

  void answerNext(PromptAnswer answer) { script_.push_back(answer); }
  PromptAnswer prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) override;

  const std::vector<Shown>& shown() const { return shown_; }
  void clear() { shown_.clear(); script_.clear(); }

 private:
  std::deque<PromptAnswer> script_;
  std::vector<Shown> shown_;
};
