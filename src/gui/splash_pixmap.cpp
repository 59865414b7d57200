#include "gui/splash_pixmap.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tabrel::gui {
namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 300;

// A small stack of index cards, the address book's emblem.
void PaintCards(QPainter& painter, QPointF origin) {
  const QSizeF card(150, 96);
  const QColor cards[] = {QColor(0, 0, 128), QColor(0, 160, 200), QColor(255, 255, 255)};
  for (int i = 0; i < 3; ++i) {
    QPainterPath path;
    path.addRoundedRect(QRectF(origin + QPointF(i * 12, i * 14), card), 8, 8);
    painter.fillPath(path, cards[i]);
    painter.strokePath(path, QPen(QColor(0, 0, 64, 120), 1.5));
  }
  const QPointF front = origin + QPointF(24, 28);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 0));
  painter.drawRect(QRectF(front + QPointF(14, 16), QSizeF(card.width() - 28, 12)));
  painter.setBrush(QColor(0, 0, 192, 150));
  for (int line = 0; line < 3; ++line) {
    const double width = card.width() - 28 - line * 22;
    painter.drawRect(QRectF(front + QPointF(14, 40 + line * 14), QSizeF(width, 5)));
  }
}

}  // namespace

QPixmap PaintSplashPixmap() {
  QPixmap pixmap(kWidth, kHeight);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(0, 0, 192));
  sky.setColorAt(1, QColor(0, 0, 96));
  painter.fillRect(pixmap.rect(), sky);
  painter.fillRect(QRect(0, kHeight - 10, kWidth, 10), QColor(255, 255, 0));

  PaintCards(painter, QPointF(kWidth - 215, 70));

  QFont title = painter.font();
  title.setPixelSize(46);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRect(36, 80, 300, 60), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tabrel 3.0"));

  QFont subtitle = painter.font();
  subtitle.setPixelSize(22);
  subtitle.setBold(false);
  painter.setFont(subtitle);
  painter.setPen(QColor(0, 255, 255));
  painter.drawText(QRect(38, 140, 300, 34), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Contact manager"));

  QFont small = painter.font();
  small.setPixelSize(13);
  painter.setFont(small);
  painter.setPen(QColor(200, 200, 255));
  painter.drawText(QRect(38, kHeight - 52, 400, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Loading your records\u2026"));
  painter.end();
  return pixmap;
}

}  // namespace tabrel::gui
