#include "console/report_status_config_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/messages/prompter.h"
#include "console/vendor_site.h"
#include "console/window_texts.h"

namespace {

constexpr int kUrlEdit = 1046;
constexpr int kIntervalEdit = 1083;
constexpr int kDownloadButton = 1062;
constexpr int kSaveButton = 1084;
constexpr int kAlarmOnButton = 1086;
constexpr int kAlarmOffButton = 1073;
constexpr int kCloseButton = 1;

constexpr const char* kExplanation =
    "说明：主控网站是您自行建立的 WEB 网站，安装我们提供的 ASP 程序后，被监控服务器上的文件发生变化时，"
    "会把报警信息提交到上面填写的主控网站报警网址，您可以在主控网站上查看全部服务器的报警记录。";

std::string downloadPageMessage() {
  return "主控网站ASP程序代码，可以从我们官方网站下载，网址是 " + qevVendorDownloadPage() +
         "\r\n\r\n\r\n如果主控网站安装或设置上存在问题或疑问，请联系我们的客服人员，我们将热诚为您服务！";
}

QPushButton* makeButton(int id, const char* text, QWidget* parent, int x, int y, int width, bool enabled) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::number(id));
  button->setGeometry(x, y, width, 30);
  button->setEnabled(enabled);
  return button;
}

QLabel* makeLabel(const char* text, QWidget* parent, int x, int y, int width, int height = 20) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(x, y, width, height);
  return label;
}

}  // namespace

CReportStatusConfigDlg::CReportStatusConfigDlg(Prompter& prompter, std::function<bool(const std::string&)> openAddress,
                                               QWidget* parent)
    : QDialog(parent), prompter_(prompter), openAddress_(std::move(openAddress)) {
  setWindowTitle(QStringLiteral("监控报警设置"));
  resize(560, 420);
  makeLabel("文件监控报警网址（如果有多个，每行填写一个）", this, 12, 10, 536);
  auto* urls = new QPlainTextEdit(this);
  urls->setObjectName(QString::number(kUrlEdit));
  urls->setLineWrapMode(QPlainTextEdit::NoWrap);
  urls->setGeometry(12, 32, 536, 150);
  urls->setEnabled(false);
  makeLabel("报警时间设置", this, 12, 196, 100);
  auto* interval = new QLineEdit(this);
  interval->setObjectName(QString::number(kIntervalEdit));
  interval->setGeometry(112, 192, 70, 26);
  interval->setEnabled(false);
  makeLabel("分钟，填写数字，默认 10 分钟，填写范围 10 - 1800 分钟", this, 190, 196, 358);
  QLabel* explanation = makeLabel(kExplanation, this, 12, 232, 536, 80);
  explanation->setWordWrap(true);
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  QPushButton* download = makeButton(kDownloadButton, "进入主控下载网页", this, 12, 330, 150, true);
  QPushButton* save = makeButton(kSaveButton, "测试设置", this, 12, 374, 100, false);
  QPushButton* alarmOn = makeButton(kAlarmOnButton, "开启监控", this, 120, 374, 100, false);
  QPushButton* alarmOff = makeButton(kAlarmOffButton, "停止监控", this, 228, 374, 100, false);
  QPushButton* close = makeButton(kCloseButton, "关闭", this, 448, 374, 100, true);
  connect(download, &QPushButton::clicked, this, [this] { onDownloadPage(); });
  connect(save, &QPushButton::clicked, this, [this] { onSave(); });
  connect(alarmOn, &QPushButton::clicked, this, [this] { onAlarmOn(); });
  connect(alarmOff, &QPushButton::clicked, this, [this] { onAlarmOff(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  settings_ = qevLoadAlarmSettings(prompter_);
  showSettings();
}

QWidget* CReportStatusConfigDlg::control(int id) const { return findChild<QWidget*>(QString::number(id)); }

QPlainTextEdit& CReportStatusConfigDlg::urlEdit() const {
  return *findChild<QPlainTextEdit*>(QString::number(kUrlEdit));
}

QLineEdit& CReportStatusConfigDlg::intervalEdit() const {
  return *findChild<QLineEdit*>(QString::number(kIntervalEdit));
}

void CReportStatusConfigDlg::showSettings() {
  urlEdit().setPlainText(toDisplayText(settings_.urls));
  intervalEdit().setText(toDisplayText(settings_.interval));
}

void CReportStatusConfigDlg::onDownloadPage() {
  prompter_.inform(downloadPageMessage(), MessageIcon::Information);
  // A browser that cannot be started is not reported.
  if (openAddress_) openAddress_(qevVendorDownloadAddress());
}

bool CReportStatusConfigDlg::onSave() {
  settings_ = AlarmSettings{fromDisplayText(urlEdit().toPlainText()), fromDisplayText(intervalEdit().text())};
  const AlarmSettingsSave outcome = qevSaveAlarmSettings(prompter_, settings_);
  if (outcome.focus == AlarmSettingsField::Urls) urlEdit().setFocus();
  if (outcome.focus == AlarmSettingsField::Interval) intervalEdit().setFocus();
  if (outcome.saved) showSettings();
  return outcome.saved;
}

void CReportStatusConfigDlg::onAlarmOn() { qevSwitchAlarm(prompter_, true); }

void CReportStatusConfigDlg::onAlarmOff() { qevSwitchAlarm(prompter_, false); }
