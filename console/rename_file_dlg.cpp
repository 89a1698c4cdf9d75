#include "console/rename_file_dlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "common/messages/prompter.h"
#include "console/window_texts.h"

namespace {
constexpr std::size_t kReservedText = 102400;
}

CReNameFileDlg::CReNameFileDlg(Prompter& prompter, std::vector<std::string> paths, QWidget* parent)
    : QDialog(parent), prompter_(prompter), paths_(std::move(paths)) {
  setWindowTitle(QStringLiteral("目录文件清理确认"));
  resize(620, 380);
  pathText_.reserve(kReservedText);
  for (const std::string& path : paths_) pathText_ += path + "\r\n";
  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName(QStringLiteral("1046"));
  edit_->setReadOnly(true);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setGeometry(12, 12, 596, 310);
  edit_->setPlainText(toDisplayText(pathText_));
  auto* confirm = new QPushButton(QStringLiteral("确定清理已选目录文件"), this);
  confirm->setGeometry(330, 334, 170, 30);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setGeometry(508, 334, 100, 30);
  connect(confirm, &QPushButton::clicked, this, [this] { onConfirm(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool CReNameFileDlg::onConfirm() {
  if (!prompter_.askYesNo("确定对选择的目录文件进行清理吗？")) return false;
  accept();
  return true;
}
