// Line wrapping of arbitrary text, on the screen and on a printer that
// measures every character alike: nothing is lost, and the printer is
// always given at least one line.
#include <cstdint>
#include <cstdlib>

#include "fuzz_data_set.h"
#include "present/text_wrap.h"

using namespace tabrel;

namespace {

class CountingPrinter : public Printer {
 public:
  void SetFont(const std::string&, bool, int) override {}
  void PrintLine(const std::string& text) override {
    ++lines;
    printed += text.size();
  }
  void SetPosition(int, int) override {}
  int CurrentX() const override { return 0; }
  int CurrentY() const override { return 0; }
  int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 90; }
  int PageWidth() const override { return 11520; }
  void SetEnvelopeSetting() override {}
  void NewPage() override {}
  Status EndDoc() override { return Status::Ok(); }
  int lines = 0;
  std::size_t printed = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(fuzz::Bytes(data, size));
  std::string wrapped;
  chopText(input, wrapped);
  // Only line breaks are added, each after a blank.
  if (wrapped.size() < input.size() || (wrapped.size() - input.size()) % 2 != 0) std::abort();

  CountingPrinter printer;
  const int width = size > 0 ? 200 + data[0] * 40 : 3000;
  PrintWrapped(printer, 0, 0, width, input);
  if (printer.lines < 1 || printer.printed > input.size()) std::abort();
  return 0;
}
