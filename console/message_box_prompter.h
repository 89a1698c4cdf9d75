#pragma once
#include "common/messages/prompter.h"

class QWidget;

// The production prompter: a modal QMessageBox over the given window.
class MessageBoxPrompter : public Prompter {
 public:
  explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
  PromptAnswer prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) override;

 private:
  QWidget* parent_;
};
