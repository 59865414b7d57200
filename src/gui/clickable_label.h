#pragma once

#include <QLabel>

namespace tabrel::gui {

// A label that reports clicks: the status bar panels take a click, the
// record view's e-mail and web labels and the editor's keyword slots a
// double-click. With SetKeyboardActivation the label is in the Tab order,
// shows a focus frame, Enter or Space send Activated and Delete or
// Backspace Cleared.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

  void SetKeyboardActivation();
  // True when a click or a double-click does something.
  bool Operable() const;

 signals:
  void Clicked();
  void DoubleClicked();
  void Activated();
  void Cleared();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tabrel::gui
