#pragma once
#include <QDialog>

class QString;

// A notice, modal to its window, that the window waits for work running elsewhere: a text and a
// busy bar. The operator cannot close it (Esc and the close box do nothing); finish() does.
class WaitingDialog : public QDialog {
  Q_OBJECT

 public:
  WaitingDialog(const QString& text, QWidget* parent);
  void finish();

 protected:
  void reject() override;
};
