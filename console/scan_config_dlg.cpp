#include "console/scan_config_dlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/files/paths.h"
#include "common/files/text_files.h"
#include "common/messages/operator_message.h"
#include "common/process/process.h"
#include "common/text/list_text.h"
#include "common/text/text_codec.h"
#include "console/folder_picker.h"
#include "console/prompter.h"
#include "console/window_texts.h"

namespace {

constexpr const char* kScanListName = "ScanDir.txt";
constexpr std::size_t kMaxLineLength = 0x100000;
constexpr std::size_t kMaxListTextLength = 8192;
constexpr std::size_t kMaxPickedPathLength = 259;

constexpr const char* kNoDirectoryMessage =
    "请填写需要扫描的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";
constexpr const char* kLengthMessage =
    "请填写的扫描目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";
constexpr const char* kStartQuestion = "确定开始扫描硬盘目录中的文件吗？";

std::string missingDirectoryMessage(const std::string& line) {
  return "填写的扫描目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的扫描目录名！";
}

std::string configDirectoryOf(const std::string& programDir) {
  return qevCollapseSeparators(programDir + "/" + kConfigFolder);
}

std::string trimmed(const std::string& text) {
  const char* blanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// A scan root must be an existing directory (a file or a dangling name cannot be walked).
bool isExistingDirectory(const std::string& path) {
  std::u16string wide;
  return qevPathExists(path) == 1 && qevAnsiToWide(path, wide) == 1 && qevGetPathKind(wide) == 2;
}

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
  directoryText_.clear();
  std::string programDir;
  if (qevGetExeDir(programDir) == 1) {
    const std::string configDir = configDirectoryOf(programDir);
    const bool haveConfig = qevPathExists(configDir) == 1 || qevCreateDirectoryChain(configDir) == 1;
    std::string saved;
    if (haveConfig && qevReadFileText(qevCollapseSeparators(configDir + "/" + kScanListName), saved) == 1) {
      for (int pass = 0; pass < 2; ++pass) replaceAll(saved, "\r\n\r\n", "\r\n");
      directoryText_ = saved;
    }
  }
  showStoredText();
}

void CScanConfigDlg::showStoredText() { edit_->setPlainText(toDisplayText(directoryText_)); }

std::string CScanConfigDlg::editText() const {
  std::string text = edit_->toPlainText().toStdString();
  std::string windowsLines;
  windowsLines.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') windowsLines += '\r';
    windowsLines += c;
  }
  return windowsLines;
}

void CScanConfigDlg::onBrowse() {
  std::string folder;
  if (qevBrowseFolder(this, folder) != 1 || folder.empty() || folder.size() > kMaxPickedPathLength) return;
  // The stored text, not the edit: typing since the last save is replaced, as the list was meant.
  directoryText_ += folder + "\r\n";
  showStoredText();
}

bool CScanConfigDlg::refuse(const std::string& message) {
  prompter_.inform(message, MessageIcon::Question);
  edit_->setFocus();
  return false;
}

std::string CScanConfigDlg::usableConfigDirectory() {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter_.inform(kExeDirFailedMessage, MessageIcon::Question);
    return {};
  }
  const std::string configDir = configDirectoryOf(programDir);
  if (qevPathExists(configDir) != 1 && qevCreateDirectoryChain(configDir) != 1) {
    prompter_.inform("建立目录“" + configDir + "”失败，请重试！", MessageIcon::Question);
    return {};
  }
  if (qevPathExists(configDir) != 1) {
    prompter_.inform("保存配置文件失败，目录“" + configDir + "”无法访问，请重试！", MessageIcon::Question);
    return {};
  }
  return configDir;
}

bool CScanConfigDlg::onStartScan() {
  directoryText_ = editText();
  const std::string configDir = usableConfigDirectory();
  if (configDir.empty()) return false;

  std::string normalized;
  std::vector<std::string> lines;
  int count = 0;
  qevNormalizeListText(directoryText_, 1, 260, false, true, normalized, lines, count);
  if (count == 0) return refuse(kNoDirectoryMessage);
  if (normalized.size() <= 2 || normalized.size() >= kMaxListTextLength) return refuse(kLengthMessage);
  for (const std::string& line : lines) {
    const std::string directory = trimmed(line);
    if (directory.empty()) continue;
    if (directory.size() >= kMaxLineLength) return refuse(kLengthMessage);
    if (!isExistingDirectory(directory)) return refuse(missingDirectoryMessage(directory));
  }

  directoryText_ = normalized;
  qevWriteFileText(qevCollapseSeparators(configDir + "/" + kScanListName), directoryText_);
  showStoredText();
  if (!prompter_.askYesNo(kStartQuestion)) return false;
  accept();
  return true;
}
