#include "console/scan_config_dlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/messages/prompter.h"
#include "console/folder_picker.h"
#include "console/window_texts.h"
#include "maintenance/scan/scan_list.h"

namespace {
constexpr std::size_t kMaxPickedPathLength = 259;
constexpr const char* kStartQuestion = "确定开始扫描硬盘目录中的文件吗？";
}  // namespace

CScanConfigDlg::CScanConfigDlg(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setWindowTitle(QStringLiteral("文件扫描设置"));
  resize(520, 340);
  auto* label = new QLabel(QStringLiteral("需要扫描的目录（每行填写一个目录名）"), this);
  label->setGeometry(12, 10, 496, 20);
  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName(QStringLiteral("1046"));
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setGeometry(12, 34, 496, 250);
  auto* browse = new QPushButton(QStringLiteral("选择目录"), this);
  browse->setGeometry(12, 296, 110, 30);
  browse->setDefault(true);
  auto* start = new QPushButton(QStringLiteral("开始扫描"), this);
  start->setGeometry(282, 296, 110, 30);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setGeometry(398, 296, 110, 30);
  connect(browse, &QPushButton::clicked, this, [this] { onBrowse(); });
  connect(start, &QPushButton::clicked, this, [this] { onStartScan(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  loadSavedList();
}

void CScanConfigDlg::loadSavedList() {
  directoryText_ = qevLoadScanList();
  showStoredText();
}

void CScanConfigDlg::showStoredText() { edit_->setPlainText(toDisplayText(directoryText_)); }

std::string CScanConfigDlg::editText() const { return fromDisplayText(edit_->toPlainText()); }

void CScanConfigDlg::onBrowse() {
  std::string folder;
  if (qevBrowseFolder(this, folder) != 1 || folder.empty() || folder.size() > kMaxPickedPathLength) return;
  // The stored text, not the edit: typing since the last save is replaced, as the list was meant.
  directoryText_ += folder + "\r\n";
  showStoredText();
}

bool CScanConfigDlg::onStartScan() {
  directoryText_ = editText();
  std::string saved;
  const ScanListSave outcome = qevSaveScanList(prompter_, directoryText_, saved);
  if (outcome == ScanListSave::ListRefused) edit_->setFocus();
  if (outcome != ScanListSave::Saved) return false;
  directoryText_ = saved;
  showStoredText();
  if (!prompter_.askYesNo(kStartQuestion)) return false;
  accept();
  return true;
}
