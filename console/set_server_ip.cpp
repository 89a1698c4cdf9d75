#include "console/set_server_ip.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "console/report_list.h"
#include "maintenance/logs/server_edits.h"
#include "maintenance/logs/server_store.h"

namespace {

constexpr int kServerListId = 1009;
constexpr int kIpField = 1039;
constexpr int kPortField = 1040;
constexpr int kUserField = 1041;
constexpr int kPasswordField = 1042;
constexpr int kRepeatedPasswordField = 1046;
constexpr int kRemarkField = 1044;

constexpr std::array<ReportColumn, 5> kColumns = {ReportColumn{"序号", 40}, ReportColumn{"IP", 100},
                                                  ReportColumn{"端口", 80}, ReportColumn{"用户名", 100},
                                                  ReportColumn{"备注", 300}};

constexpr const char* kHint = "　　同一个服务器，如果有多个IP地址，只填写其中一个可用的公网IP地址即可。";

QString text(const std::string& value) { return QString::fromStdString(value); }

}  // namespace

CSetServerIP::CSetServerIP(Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
  setWindowTitle(QStringLiteral("服务器管理"));
  setFixedSize(660, 470);

  list_ = new QTableWidget(this);
  list_->setObjectName(QString::number(kServerListId));
  list_->setGeometry(12, 12, 636, 250);
  qevSetUpReportList(*list_, kColumns);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(list_, &QTableWidget::cellClicked, this, [this](int row, int) { onRowClicked(row); });

  addField(kIpField, "服务器IP地址", 12, 276, false);
  addField(kPortField, "端口", 340, 276, false);
  addField(kUserField, "用户名", 12, 310, false);
  addField(kPasswordField, "密码", 340, 310, true);
  addField(kRepeatedPasswordField, "重复密码", 12, 344, true);
  addField(kRemarkField, "备注", 340, 344, false);

  auto* hint = new QLabel(QString::fromUtf8(kHint), this);
  hint->setGeometry(12, 380, 636, 22);

  struct ButtonSpec {
    int id;
    const char* caption;
    int x;
    int width;
    void (CSetServerIP::*handler)();
  };
  const std::array<ButtonSpec, 5> buttons = {ButtonSpec{1007, "增加", 12, 90, &CSetServerIP::onAdd},
                                             ButtonSpec{1006, "删除", 110, 90, &CSetServerIP::onDelete},
                                             ButtonSpec{1005, "刷新服务器", 208, 110, &CSetServerIP::onReload},
                                             ButtonSpec{1038, "删除全部IP地址", 326, 140, &CSetServerIP::onDeleteAll},
                                             ButtonSpec{1004, "关闭", 558, 90, &CSetServerIP::reject}};
  for (const ButtonSpec& spec : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(spec.caption), this);
    button->setObjectName(QString::number(spec.id));
    button->setGeometry(spec.x, 420, spec.width, 32);
    // Enter in a field must not add or delete a server.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler = spec.handler] { (this->*handler)(); });
  }
  // "修改" has no function: it exists hidden and disabled.
  auto* modify = new QPushButton(QStringLiteral("修改"), this);
  modify->setObjectName(QStringLiteral("1043"));
  modify->setVisible(false);
  modify->setEnabled(false);

  onReload();
}

QLineEdit* CSetServerIP::addField(int id, const char* label, int x, int y, bool secret) {
  auto* caption = new QLabel(QString::fromUtf8(label), this);
  caption->setGeometry(x, y, 96, 26);
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::number(id));
  edit->setGeometry(x + 100, y, 208, 26);
  if (secret) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

QLineEdit& CSetServerIP::field(int id) { return *findChild<QLineEdit*>(QString::number(id)); }

std::string CSetServerIP::fieldText(int id) { return field(id).text().toStdString(); }

void CSetServerIP::onReload() {
  // A store that cannot be read gives an empty list, without a message.
  qevLoadServerRows(servers_);
  showServers();
}

void CSetServerIP::showServers() {
  list_->clearContents();
  list_->setRowCount(static_cast<int>(servers_.size()));
  for (int row = 0; row < static_cast<int>(servers_.size()); ++row) {
    const ServerRow& server = servers_[static_cast<std::size_t>(row)];
    // The password is never shown.
    const std::array<QString, 5> cells = {QString::number(row + 1), text(server.ip), text(server.port),
                                          text(server.username), text(server.remark)};
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      list_->setItem(row, column, new QTableWidgetItem(cells[static_cast<std::size_t>(column)]));
    }
  }
}

void CSetServerIP::onRowClicked(int row) {
  if (row < 0 || row >= static_cast<int>(servers_.size())) return;
  const ServerRow& server = servers_[static_cast<std::size_t>(row)];
  // The password fields keep what they hold.
  field(kIpField).setText(text(server.ip));
  field(kPortField).setText(text(server.port));
  field(kUserField).setText(text(server.username));
  field(kRemarkField).setText(text(server.remark));
}

void CSetServerIP::onAdd() {
  const ServerFields fields{fieldText(kIpField),
                            fieldText(kPortField),
                            fieldText(kUserField),
                            fieldText(kPasswordField),
                            fieldText(kRepeatedPasswordField),
                            fieldText(kRemarkField)};
  qevAddServer(prompter_, fields, [this] { onReload(); });
}

void CSetServerIP::onDelete() {
  qevDeleteServer(prompter_, fieldText(kIpField), [this] { onReload(); });
}

void CSetServerIP::onDeleteAll() {
  qevDeleteAllServers(prompter_, [this] { onReload(); });
}
