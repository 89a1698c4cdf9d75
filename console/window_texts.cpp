#include "console/window_texts.h"

QString toDisplayText(const std::string& text) {
  QString display = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return display;
}
