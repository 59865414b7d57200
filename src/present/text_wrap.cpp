#include "present/text_wrap.h"

#include "base/text.h"

namespace tabrel {

void chopText(const std::string& source, std::string& target) {
  int count = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    ++count;
    target.push_back(c);
    if (c == ' ' && count > 55) {
      target += "\r\n";
      count = 0;
    }
    if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n') count = 0;
  }
}

void PrintWrapped(Printer& printer, int left, int top, int width, std::string text) {
  printer.SetPosition(left, top);
  printer.SetFont("Arial", true, 10);
  do {
    // p: the end of the longest run of whole words (with its blank) that
    // fits; q: the end of the next word tried, 0 when no blank is left.
    std::size_t p = 0;
    std::size_t q = 0;
    while (true) {
      const std::size_t blank = text.find(' ', p);
      q = blank == std::string::npos ? 0 : blank + 1;
      if (q == 0 || printer.TextWidth(text.substr(0, q)) > width - 10) break;
      p = q;
    }
    std::string line;
    if (q == 0) {
      line = std::move(text);
      text.clear();
    } else {
      const std::size_t cut = p > 0 ? p : q;
      line = text.substr(0, cut);
      text = Trim(std::string_view(text).substr(cut));
    }
    printer.SetPosition(left, printer.CurrentY());
    printer.PrintLine(line);
  } while (!text.empty());
}

}  // namespace tabrel
