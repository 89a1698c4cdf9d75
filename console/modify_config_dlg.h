#pragma once
#include <QDialog>
#include <string>

#include "maintenance/settings/monitor_rules.h"

class Prompter;
class QPlainTextEdit;

// The file-monitor rules dialog (command 1053): the monitored directories (edit 1046), script
// extensions (edit 1054) and the whitelist (edit 1055). Every control is named after its id.
// The button handlers are public so tests drive the dialog without exec().
class CModifyConfigDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CModifyConfigDlg(Prompter& prompter, QWidget* parent = nullptr);

  // Button 1069 "选择目录": appends the chosen folder and a line end to the stored directory
  // text (typing since the last save is replaced) and shows it.
  void onBrowse();
  // Button 1045 "启动主动防御": checks, saves and asks; closes with OK on Yes. True when it closed.
  bool onStart();

  // The texts kept by the dialog ("\r\n" line ends).
  const MonitorRules& rules() const { return rules_; }
  // The control of an id (1046, 1054, 1055, 1069, 1045, 1), nullptr for another.
  QWidget* control(int id) const;
  QPlainTextEdit& edit(int id) const;

 private:
  void readEdits();
  void showRules();

  Prompter& prompter_;
  MonitorRules rules_;
};
