#pragma once

#include <QLabel>

namespace tabrel::gui {

// A label that reports clicks: the status bar panels take a click, the
// record view's e-mail and web labels and the editor's keyword slots a
// double-click.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Clicked();
  void DoubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace tabrel::gui
