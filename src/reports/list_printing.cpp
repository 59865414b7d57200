#include "reports/list_printing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/basic_number.h"
#include "base/text.h"
#include "reports/report_file.h"

namespace tabrel {
namespace {

constexpr const char* kListFont = "Arial";
constexpr const char* kLabelPrintFont = "courier new";
constexpr int kPoints = 10;

// Starts the next page of the document below three empty lines. The pages
// of one print command stay one job: a printer (or a PDF file) gets the
// list as a whole, in order.
void EndPage(Printer& printer, const char* font) {
  printer.NewPage();
  printer.SetFont(font, true, kPoints);
  for (int i = 0; i < 3; ++i) printer.PrintLine("");
}

// A margin setting as a count: its numeric value rounded, 0 to 99.
int MarginCount(const std::string& setting) {
  const double value = BasicVal(setting);
  if (!(value > 0)) return 0;
  return static_cast<int>(std::min(99.0, std::nearbyint(value)));
}

}  // namespace

Status PrintList(Printer& printer, std::string_view text, int print_lines) {
  printer.SetFont(kListFont, true, kPoints);
  // A page holds the three empty lines at its top and, at most, one line
  // past the setting before the break.
  if (print_lines >= 1) {
    if (Status fits = printer.FitLinesPerPage(print_lines + 4); !fits.ok()) {
      printer.EndDoc();
      return Status::Error(error_number::kOverflow,
                           fits.description() +
                               " Set a smaller \"Number of lines to print before "
                               "starting new page\" in Settings.");
    }
  }
  int n = 0;
  std::string_view line;
  while (NextReportLine(text, line)) {
    std::string printed(1, '\t');
    printed.append(line);
    printer.PrintLine(printed);
    ++n;
    // Below 1 there is no page length to keep to: no page breaks.
    if (print_lines < 1) continue;
    // Past the limit every line counts as the empty line a page may end at.
    const std::string_view tested = n > print_lines ? std::string_view() : line;
    if (n > print_lines - 5 && TrimView(tested).empty()) {
      EndPage(printer, kListFont);
      n = 0;
    }
  }
  return printer.EndDoc();
}

Status PrintLabels(Printer& printer, std::string_view text) {
  printer.SetFont(kLabelPrintFont, true, kPoints);
  int n = 1;
  for (int i = 0; i < 4; ++i) printer.PrintLine("");
  std::string_view line;
  while (NextReportLine(text, line)) {
    printer.PrintLine(std::string(line));
    if (++n == 60) {
      EndPage(printer, kLabelPrintFont);
      n = 0;
    }
  }
  return printer.EndDoc();
}

Status PrintEnvelope(Printer& printer, const ContactRecord& r, const SettingsRecord& settings) {
  printer.SetEnvelopeSetting();
  printer.SetFont(kListFont, true, kPoints);
  const std::string indent(static_cast<std::size_t>(MarginCount(settings.LPad)), '\t');
  const int top = 2 * MarginCount(settings.TPad);
  for (int i = 0; i < top; ++i) printer.PrintLine("");

  std::string name = Trim(r.FirstName) + " " + Trim(r.LastName);
  if (!IsBlank(r.Title)) name += ", " + Trim(r.Title);
  printer.PrintLine(indent + name);
  for (const std::string* field : {&r.Org, &r.Add1, &r.Add2}) {
    if (!IsBlank(*field)) printer.PrintLine(indent + Trim(*field));
  }
  printer.PrintLine(indent + Trim(r.City) + ", " + Trim(r.State) + " " + Trim(r.Zip));
  if (!IsBlank(r.Country)) printer.PrintLine(indent + Trim(r.Country));
  return printer.EndDoc();
}

}  // namespace tabrel
