#pragma once

#include <QLabel>

namespace tabrel::gui {

// A status bar panel that reports a click.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tabrel::gui
