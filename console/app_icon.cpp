#include "console/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x8c, 0x3b, 0x1e));  // sorrel brown
  painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.2, size * 0.2);
  painter.setPen(QColor(Qt::white));
  QFont font;
  font.setBold(true);
  font.setPixelSize(size * 3 / 4);
  painter.setFont(font);
  painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("S"));
  return pixmap;
}

}  // namespace

QIcon qevApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64}) icon.addPixmap(drawIcon(size));
  return icon;
}
