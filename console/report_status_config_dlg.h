#pragma once
#include <QDialog>
#include <functional>
#include <string>

#include "maintenance/settings/alarm_settings.h"

class Prompter;
class QLineEdit;
class QPlainTextEdit;

// The alarm settings dialog (command 1081): the alarm addresses (edit 1046) and interval (edit
// 1083), the vendor's download page (1062), save (1084), alarm on (1086) and off (1073), close (1).
// The edits and the three setting buttons are created disabled and nothing enables them: the
// dialog shows the settings, opens the download page and closes. Every control is named after
// its id; the handlers are public so tests drive them without exec().
class CReportStatusConfigDlg : public QDialog {
  Q_OBJECT

 public:
  // openAddress opens an address in the desktop's browser.
  CReportStatusConfigDlg(Prompter& prompter, std::function<bool(const std::string&)> openAddress,
                         QWidget* parent = nullptr);

  // 1062 "进入主控下载网页": tells where the master site's programs are, then opens the page.
  void onDownloadPage();
  // 1084 "测试设置": checks and saves the addresses and the interval. True when saved.
  bool onSave();
  // 1086 "开启监控" and 1073 "停止监控".
  void onAlarmOn();
  void onAlarmOff();

  const AlarmSettings& settings() const { return settings_; }
  // The control of an id (1046, 1083, 1062, 1084, 1086, 1073, 1), nullptr for another.
  QWidget* control(int id) const;
  QPlainTextEdit& urlEdit() const;
  QLineEdit& intervalEdit() const;

 private:
  void showSettings();

  Prompter& prompter_;
  std::function<bool(const std::string&)> openAddress_;
  AlarmSettings settings_;
};
