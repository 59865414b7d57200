#include "gui/application.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
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

// A standard icon of the style, made when first drawn or measured.
class DeferredIconEngine : public QIconEngine {
 public:
  DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which)
      : style_(style), which_(which) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DeferredIconEngine(style_, which_); }
  void virtual_hook(int id, void* data) override {
    if (id == IsNullHook) {
      *static_cast<bool*>(data) = Icon().isNull();
    } else {
      QIconEngine::virtual_hook(id, data);
    }
  }

 private:
  const QIcon& Icon() {
    if (!made_) icon_ = style_->standardIcon(which_);
    made_ = true;
    return icon_;
  }

  const QStyle* style_;
  QStyle::StandardPixmap which_;
  bool made_ = false;
  QIcon icon_;
};

// The desktop's style, with a frame round the control that has the focus
// where the style itself shows none: a focused default button looks like
// the default button, read-only text has no cursor, a list may have no
// current item.
class FocusFrameStyle : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    const bool button = element == CE_PushButton && qobject_cast<const QPushButton*>(widget);
    const bool box = element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea*>(widget);
    if (!(button || box) || !(option->state & State_HasFocus)) return;
    // Inside a button's bevel; on the frame of a text box or list, which
    // their contents cover inside.
    const qreal inset = button ? 3 : 1;
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset));
    painter->restore();
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_Table_GridLineColor && widget != nullptr) {
      const QVariant colour = widget->property(kGridLineColourProperty);
      if (colour.isValid()) return static_cast<int>(colour.value<QColor>().rgba());
    }
    return QProxyStyle::styleHint(hint, option, widget, data);
  }

  // Every menu bar and toolbar makes the button that shows what does not
  // fit; reading its picture would load the image format plugins while the
  // program starts, for a button that mostly never shows.
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (which == SP_ToolBarHorizontalExtensionButton ||
        which == SP_ToolBarVerticalExtensionButton) {
      return QIcon(new DeferredIconEngine(baseStyle(), which));
    }
    return QProxyStyle::standardIcon(which, option, widget);
  }
};

}  // namespace

void ConfigureApplication() {
  QApplication::setApplicationName(QStringLiteral("tabrel"));
  QApplication::setStyle(new FocusFrameStyle);
}

QIcon ProgramIcon(const QString& name) {
  return QIcon(new ResourceIconEngine(name));
}

}  // namespace tabrel::gui
