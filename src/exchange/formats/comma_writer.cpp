#include "exchange/formats/comma_writer.h"

#include <array>

#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::array<l::Span, 20> kColumns = {
    l::kFirstName, l::kLastName, l::kTitle,    l::kOrg,   l::kAdd1, l::kAdd2,  l::kCity,
    l::kState,     l::kZip,      l::kCountry,  l::kEMail, l::kWeb,  l::kPhone, l::kExt,
    l::kFax,       l::kBeeper,   l::kCellular, l::kKW1,   l::kKW2,  l::kKW3};

constexpr std::string_view kHeader =
    "\"First Name\",\"Last Name\",\"Title\",\"Organization\",\"Address 1\",\"Address 2\","
    "\"City\",\"State\",\"Zip\",\"Country\",\"Email\",\"URL\",\"Phone\",\"Phone Ext\",\"Fax\","
    "\"Pager\",\"Mobile\",\"Keyword 1\",\"Keyword 2\",\"Keyword 3\"\r\n";

}  // namespace

void AppendCommaHeader(std::string& out) {
  out.append(kHeader);
}

void AppendCommaRecord(std::string_view record, std::string& out) {
  for (const l::Span& span : kColumns) {
    if (&span != kColumns.data()) out.push_back(',');
    out.push_back('"');
    const std::string_view field = TrimView(record.substr(span.offset, span.width));
    for (std::size_t at = 0;;) {
      const std::size_t quote = field.find('"', at);
      if (quote == std::string_view::npos) {
        out.append(field.substr(at));
        break;
      }
      out.append(field.substr(at, quote + 1 - at)).push_back('"');
      at = quote + 1;
    }
    out.push_back('"');
  }
  out.append("\r\n");
}

}  // namespace tabrel
