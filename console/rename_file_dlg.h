#pragma once
#include <QDialog>
#include <string>
#include <vector>

class Prompter;
class QPlainTextEdit;

// Confirmation of a cleaning: shows the checked entries' paths, one per line, read-only.
// The button handler is public so tests drive the dialog without exec().
class CReNameFileDlg : public QDialog {
  Q_OBJECT

 public:
  CReNameFileDlg(Prompter& prompter, std::vector<std::string> paths, QWidget* parent = nullptr);

  // Button 1 "确定清理已选目录文件": asks once more; Yes closes with OK. True when it closed.
  bool onConfirm();

  // Every path followed by "\r\n" (edit 1046).
  const std::string& pathText() const { return pathText_; }

 private:
  Prompter& prompter_;
  std::vector<std::string> paths_;
  std::string pathText_;
  QPlainTextEdit* edit_ = nullptr;
};
