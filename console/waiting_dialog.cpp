#include "console/waiting_dialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

WaitingDialog::WaitingDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("请稍候"));
  setWindowModality(Qt::WindowModal);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(text, this);
  label->setWordWrap(true);
  layout->addWidget(label);
  auto* busy = new QProgressBar(this);
  busy->setRange(0, 0);  // no known end: a moving bar
  busy->setTextVisible(false);
  layout->addWidget(busy);
  setMinimumWidth(380);
}

void WaitingDialog::finish() { done(Accepted); }

void WaitingDialog::reject() {}
