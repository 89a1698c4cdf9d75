#include "console/message_box_prompter.h"

#include <QAbstractButton>
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

// The messages speak of the buttons by their Chinese names ("点“是”..."), so the buttons carry
// them whatever translations Qt has installed.
void labelButtons(QMessageBox& box) {
  const struct {
    QMessageBox::StandardButton button;
    const char* label;
  } labels[] = {
      {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}, {QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"},
  };
  for (const auto& entry : labels) {
    if (QAbstractButton* button = box.button(entry.button)) button->setText(QString::fromUtf8(entry.label));
  }
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
  labelButtons(box);
  return answerOf(box.exec());
}
