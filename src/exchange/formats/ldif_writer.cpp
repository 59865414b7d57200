#include "exchange/formats/ldif_writer.h"

#include "base/base64.h"
#include "base/codec.h"
#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

bool IsSafe(std::string_view value) {
  if (value.empty()) return true;
  if (value.front() == ' ' || value.front() == ':' || value.front() == '<') return false;
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E) return false;
  }
  return true;
}

// "name: value" or "name:: base64", then CR LF. `value` is Windows-1252.
void Line(std::string& out, std::string_view name, std::string_view value) {
  out.append(name);
  if (IsSafe(value)) {
    out.append(": ").append(value);
  } else {
    out.append(":: ").append(EncodeBase64(DecodeCp1252(value)));
  }
  out.append("\r\n");
}

std::string_view Field(std::string_view record, l::Span span) {
  return TrimView(record.substr(span.offset, span.width));
}

// The notes on one line: each line break a blank, other control
// characters dropped.
std::string OneLine(std::string_view notes) {
  std::string out;
  out.reserve(notes.size());
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const char c = notes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
      out.push_back(c);
    }
  }
  return Trim(out);
}

}  // namespace

void AppendLdifEntry(std::string_view record, std::string& out) {
  const std::string_view first = Field(record, l::kFirstName);
  const std::string_view last = Field(record, l::kLastName);
  out.append("dn:\r\n");
  std::string cn;
  cn.reserve(first.size() + 2 + last.size());
  cn.append(first).append("  ").append(last);
  Line(out, "cn", cn);
  Line(out, "sn", last);
  Line(out, "givenname", first);
  out.append("objectclass: Top\r\nobjectclass: person\r\n");
  Line(out, "description", OneLine(Field(record, l::kNotes)));
  Line(out, "locality", Field(record, l::kCity));
  Line(out, "st", Field(record, l::kState));
  Line(out, "mail", Field(record, l::kEMail));
  Line(out, "title", Field(record, l::kTitle));
  Line(out, "postOfficeBox", Field(record, l::kAdd1));
  Line(out, "streetaddress", Field(record, l::kAdd2));
  Line(out, "postalcode", Field(record, l::kZip));
  Line(out, "countryname", Field(record, l::kCountry));
  Line(out, "telephonenumber", Field(record, l::kPhone));
  Line(out, "facsimiletelephonenumber", Field(record, l::kFax));
  Line(out, "o", Field(record, l::kOrg));
  out.append("\r\n");
}

}  // namespace tabrel
