#include "gui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tabrel::gui {

void QtClipboard::Clear() {
  QGuiApplication::clipboard()->clear();
}

void QtClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace tabrel::gui
