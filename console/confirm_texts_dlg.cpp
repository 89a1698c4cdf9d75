#include "console/confirm_texts_dlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "common/messages/prompter.h"
#include "console/window_texts.h"

ConfirmTextsDlg::ConfirmTextsDlg(Prompter& prompter, const Look& look, const std::vector<std::string>& texts,
                                 QWidget* parent)
    : QDialog(parent), prompter_(prompter), question_(look.question) {
  setWindowTitle(QString::fromUtf8(look.title));
  resize(620, 380);
  listedText_.reserve(look.reservedBytes);
  for (const std::string& text : texts) listedText_ += text + "\r\n";
  auto* edit = new QPlainTextEdit(this);
  edit->setObjectName(QStringLiteral("1046"));
  edit->setReadOnly(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setGeometry(12, 12, 596, 310);
  edit->setPlainText(toDisplayText(listedText_));
  auto* confirm = new QPushButton(QString::fromUtf8(look.confirmCaption), this);
  confirm->setObjectName(QString::number(look.confirmId));
  confirm->setGeometry(330, 334, 170, 30);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(508, 334, 100, 30);
  connect(confirm, &QPushButton::clicked, this, [this] { onConfirm(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ConfirmTextsDlg::onConfirm() {
  if (!prompter_.askYesNo(question_)) return false;
  accept();
  return true;
}
