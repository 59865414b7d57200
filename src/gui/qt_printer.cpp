#include "gui/qt_printer.h"

namespace tabrel::gui {

void QtPrinter::SetFont(const std::string&, bool, int) {}
void QtPrinter::PrintLine(const std::string&) {
  y_ += 240;
}
void QtPrinter::SetPosition(int x, int y) {
  x_ = x;
  y_ = y;
}
int QtPrinter::TextWidth(const std::string& text) {
  return static_cast<int>(text.size()) * 120;
}
int QtPrinter::PageWidth() const {
  return 11520;
}
void QtPrinter::SetEnvelopeSetting() {}
Status QtPrinter::EndDoc() {
  return Status::Error(error_number::kDeviceIo, "Printing is not available yet.");
}

}  // namespace tabrel::gui
