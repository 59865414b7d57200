#include "exchange/formats/ldif_writer.h"

#include <array>
#include <unordered_map>
#include <unordered_set>

#include "base/base64.h"
#include "base/codec.h"
#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

// Per byte: true for the characters a value may hold as it stands.
constexpr std::array<bool, 256> kSafe = [] {
  std::array<bool, 256> t{};
  for (int c = 0x20; c <= 0x7E; ++c) t[c] = true;
  return t;
}();

bool IsSafe(std::string_view value) {
  if (value.empty()) return true;
  if (value.front() == ' ' || value.front() == ':' || value.front() == '<') return false;
  for (const char c : value) {
    if (!kSafe[static_cast<unsigned char>(c)]) return false;
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

// A DN's attribute value (RFC 4514): the characters that separate or
// quote escaped with a backslash, and so a leading blank or "#" and a
// trailing blank.
void AppendDnValue(std::string& dn, std::string_view value) {
  // Looked up, not searched for: every byte of every entry passes here.
  static constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> t{};
    for (const char c : std::string_view(",+\"\\<>;=")) t[static_cast<unsigned char>(c)] = true;
    return t;
  }();
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool special = kSpecial[static_cast<unsigned char>(c)];
    const bool edge = (i == 0 && (c == ' ' || c == '#')) || (i + 1 == value.size() && c == ' ');
    if (special || edge) dn.push_back('\\');
    dn.push_back(c);
  }
}

// The DNs given so far, and for each first DN tried the copy number it
// last took: every copy up to it is taken, so a name that thousands of
// entries share is not tried from 1 again each time.
struct TakenDns {
  std::unordered_set<std::string> dns;
  std::unordered_map<std::string, int> last_copy;
};

void AppendEntry(std::string_view record, TakenDns& taken, std::string& out) {
  const std::string_view first = Field(record, l::kFirstName);
  const std::string_view last = Field(record, l::kLastName);
  const std::string_view mail = Field(record, l::kEMail);
  std::string cn;
  cn.reserve(first.size() + 2 + last.size());
  cn.append(first).append("  ").append(last);
  const std::string_view dn_cn = TrimView(cn);
  const auto dn_of = [&](int copy) {
    std::string dn = "cn=";
    std::string name(dn_cn);
    if (copy > 1) name.append(name.empty() ? "(" : " (").append(std::to_string(copy)).append(")");
    AppendDnValue(dn, name);
    dn.append(",mail=");
    AppendDnValue(dn, mail);
    return dn;
  };
  std::string dn = dn_of(1);
  int& last_copy = taken.last_copy[dn];
  for (int copy = last_copy + 1;; ++copy) {
    if (copy > 1) dn = dn_of(copy);
    if (taken.dns.insert(dn).second) {
      last_copy = copy;
      break;
    }
  }
  Line(out, "dn", dn);
  Line(out, "cn", cn);
  Line(out, "sn", last);
  Line(out, "givenname", first);
  out.append("objectclass: Top\r\nobjectclass: person\r\n");
  Line(out, "description", OneLine(Field(record, l::kNotes)));
  Line(out, "locality", Field(record, l::kCity));
  Line(out, "st", Field(record, l::kState));
  Line(out, "mail", mail);
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

}  // namespace

void AppendLdifEntries(std::span<const std::string_view> records, std::string& out) {
  TakenDns taken;
  taken.dns.reserve(records.size());
  taken.last_copy.reserve(records.size());
  // An entry of this program's is some 500 bytes: one allocation, no
  // copies as the text grows.
  out.reserve(out.size() + records.size() * 600);
  for (std::string_view record : records) AppendEntry(record, taken, out);
}

}  // namespace tabrel
