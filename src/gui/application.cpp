#include "gui/application.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <array>
#include <utility>

namespace tabrel::gui {
namespace {

constexpr std::array kIconSizes = {16, 32, 48, 64, 128, 256};

class ResourceIconEngine : public QIconEngine {
 public:
  explicit ResourceIconEngine(QString name) : name_(std::move(name)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    // The smallest drawn size that is not smaller than asked, else the largest.
    int side = kIconSizes.back();
    for (int candidate : kIconSizes) {
      if (candidate >= size.width() && candidate >= size.height()) {
        side = candidate;
        break;
      }
    }
    const QString path = QStringLiteral(":/icons/%1x%1/%2.png").arg(side).arg(name_);
    QPixmap image;
    if (!QPixmapCache::find(path, &image)) {
      image.load(path);
      QPixmapCache::insert(path, image);
    }
    if (image.isNull() || image.size() == size) return image;
    return image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int side : kIconSizes) sizes.append(QSize(side, side));
    return sizes;
  }

  QIconEngine* clone() const override { return new ResourceIconEngine(name_); }
  QString key() const override { return QStringLiteral("tabrel-resource"); }

 private:
  QString name_;
};

}  // namespace

void ConfigureApplication() {
  QApplication::setApplicationName(QStringLiteral("tabrel"));
}

QIcon ProgramIcon(const QString& name) {
  return QIcon(new ResourceIconEngine(name));
}

}  // namespace tabrel::gui
