#pragma once
#include <QDialog>
#include <string>

class Prompter;
class QPlainTextEdit;

// The scan list dialog: edits the website directories to scan (one per line), checks them and
// saves them to config/ScanDir.txt. The button handlers are public so tests drive the dialog
// without exec().
class CScanConfigDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CScanConfigDlg(Prompter& prompter, QWidget* parent = nullptr);

  // Button 1080 "选择目录": appends the chosen folder to the stored text.
  void onBrowse();
  // Button 1 "开始扫描": checks, saves and asks; closes with OK on Yes. True when it closed.
  bool onStartScan();

  // The text kept by the dialog ("\r\n" line ends) and the edit 1046.
  const std::string& directoryText() const { return directoryText_; }
  QPlainTextEdit& directoryEdit() { return *edit_; }
  std::string editText() const;

 private:
  void loadSavedList();
  void showStoredText();

  Prompter& prompter_;
  QPlainTextEdit* edit_ = nullptr;
  std::string directoryText_;
};
