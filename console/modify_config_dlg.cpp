#include "console/modify_config_dlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/messages/prompter.h"
#include "console/folder_picker.h"
#include "console/window_texts.h"

namespace {

constexpr int kDirectoriesEdit = 1046;
constexpr int kScriptsEdit = 1054;
constexpr int kWhitelistEdit = 1055;
constexpr int kBrowseButton = 1069;
constexpr int kStartButton = 1045;
constexpr int kCancelButton = 1;
constexpr std::size_t kMaxPickedPathLength = 259;

int editOf(MonitorRulesField field) {
  switch (field) {
    case MonitorRulesField::Directories: return kDirectoriesEdit;
    case MonitorRulesField::Scripts: return kScriptsEdit;
    case MonitorRulesField::Whitelist: return kWhitelistEdit;
    case MonitorRulesField::None: break;
  }
  return 0;
}

QPlainTextEdit* makeEdit(int id, QWidget* parent, int x, int y, int width, int height) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setObjectName(QString::number(id));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setGeometry(x, y, width, height);
  return edit;
}

QPushButton* makeButton(int id, const char* text, QWidget* parent, int x, int y, int width) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::number(id));
  button->setGeometry(x, y, width, 30);
  return button;
}

void makeLabel(const char* text, QWidget* parent, int x, int y, int width) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(x, y, width, 20);
}

}  // namespace

CModifyConfigDlg::CModifyConfigDlg(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setWindowTitle(QStringLiteral("主动防御文件监控规则设置"));
  resize(580, 536);
  makeLabel("需要监控的目录（每行填写一个目录名）", this, 12, 10, 440);
  makeEdit(kDirectoriesEdit, this, 12, 32, 556, 130);
  QPushButton* browse = makeButton(kBrowseButton, "选择目录", this, 458, 168, 110);
  makeLabel("需要监控的脚本类型，例如， .ASP / .PHP / .ASPX / .ASHX ...", this, 12, 204, 556);
  makeEdit(kScriptsEdit, this, 12, 226, 556, 80);
  makeLabel("说明：只需填写网站程序脚本的类型，图片、样式表等静态文件无需填写。", this, 12, 310, 556);
  makeLabel("文件目录白名单，这里的白名单目录文件不会进行改名拦截处理（支持 * 通配符）", this, 12, 340, 556);
  makeEdit(kWhitelistEdit, this, 12, 362, 556, 120);
  QPushButton* start = makeButton(kStartButton, "启动主动防御", this, 338, 494, 110);
  QPushButton* cancel = makeButton(kCancelButton, "取消", this, 458, 494, 110);
  start->setDefault(true);
  connect(browse, &QPushButton::clicked, this, [this] { onBrowse(); });
  connect(start, &QPushButton::clicked, this, [this] { onStart(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  rules_ = qevLoadMonitorRules();
  showRules();
}

QWidget* CModifyConfigDlg::control(int id) const { return findChild<QWidget*>(QString::number(id)); }

QPlainTextEdit& CModifyConfigDlg::edit(int id) const { return *findChild<QPlainTextEdit*>(QString::number(id)); }

void CModifyConfigDlg::readEdits() {
  rules_ = MonitorRules{fromDisplayText(edit(kDirectoriesEdit).toPlainText()),
                        fromDisplayText(edit(kScriptsEdit).toPlainText()),
                        fromDisplayText(edit(kWhitelistEdit).toPlainText())};
}

void CModifyConfigDlg::showRules() {
  edit(kDirectoriesEdit).setPlainText(toDisplayText(rules_.directories));
  edit(kScriptsEdit).setPlainText(toDisplayText(rules_.scripts));
  edit(kWhitelistEdit).setPlainText(toDisplayText(rules_.whitelist));
}

void CModifyConfigDlg::onBrowse() {
  std::string folder;
  if (qevBrowseFolder(this, folder) != 1 || folder.empty() || folder.size() > kMaxPickedPathLength) return;
  rules_.directories += folder + "\r\n";
  edit(kDirectoriesEdit).setPlainText(toDisplayText(rules_.directories));
}

bool CModifyConfigDlg::onStart() {
  readEdits();
  const MonitorRulesSave outcome = qevSaveMonitorRules(prompter_, rules_);
  if (!outcome.saved) {
    if (outcome.focus != MonitorRulesField::None) edit(editOf(outcome.focus)).setFocus();
    return false;
  }
  showRules();
  if (!qevConfirmMonitorStart(prompter_)) return false;
  accept();
  return true;
}
