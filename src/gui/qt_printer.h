#pragma once

#include "platform/printer.h"

namespace tabrel::gui {

// The default printer through Qt.
class QtPrinter : public Printer {
 public:
  void SetFont(const std::string& name, bool bold, int points) override;
  void PrintLine(const std::string& text) override;
  void SetPosition(int x, int y) override;
  int CurrentX() const override { return x_; }
  int CurrentY() const override { return y_; }
  int TextWidth(const std::string& text) override;
  int PageWidth() const override;
  void SetEnvelopeSetting() override;
  Status EndDoc() override;

 private:
  int x_ = 0;
  int y_ = 0;
};

}  // namespace tabrel::gui
