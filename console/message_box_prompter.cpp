#include "console/message_box_prompter.h"

#include <QMessageBox>
#include <QString>

#include "console/window_texts.h"

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::Ok: return QMessageBox::Ok;
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

PromptAnswer answerOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Ok: return PromptAnswer::Ok;
    default: return PromptAnswer::Cancel;
  }
}

}  // namespace

PromptAnswer MessageBoxPrompter::prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) {
  QMessageBox box(boxIcon(icon), toDisplayText(kApplicationName), toDisplayText(text), boxButtons(buttons),
                  parent_);
  return answerOf(box.exec());
}
