#include "console/window_texts.h"

QString toDisplayText(const std::string& text) {
  QString display = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return display;
}

std::string fromDisplayText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::string windowsLines;
  windowsLines.reserve(static_cast<std::size_t>(bytes.size()) + static_cast<std::size_t>(bytes.size()) / 16);
  for (const char c : bytes) {
    if (c == '\n') windowsLines += '\r';
    windowsLines += c;
  }
  return windowsLines;
}
