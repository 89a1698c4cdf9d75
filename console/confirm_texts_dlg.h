#pragma once
#include <QDialog>
#include <cstddef>
#include <string>
#include <vector>

class Prompter;
class QPlainTextEdit;

// A modal confirmation that lists texts, one per line, in the read-only edit 1046, with a
// confirm button that asks once more and a cancel button (2). The button handler is public so
// tests drive the dialog without exec().
class ConfirmTextsDlg : public QDialog {
  Q_OBJECT

 public:
  struct Look {
    const char* title;
    int confirmId;
    const char* confirmCaption;
    const char* question;  // asked by the confirm button; Yes closes with OK
    std::size_t reservedBytes;
  };

  ConfirmTextsDlg(Prompter& prompter, const Look& look, const std::vector<std::string>& texts, QWidget* parent);

  // The confirm button: asks the question; Yes closes with OK. True when it closed.
  bool onConfirm();

  // Every text followed by "\r\n", as edit 1046 shows it.
  const std::string& listedText() const { return listedText_; }

 private:
  Prompter& prompter_;
  const char* question_;
  std::string listedText_;
};
