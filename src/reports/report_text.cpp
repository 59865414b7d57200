#include "reports/report_text.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/basic_number.h"
#include "base/text.h"
#include "present/paste_up.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kHeader = "\r\n\r\n";  // CR LF written as a line
constexpr std::size_t kLabelWidth = 40;

// A stored field without its leading and trailing blanks. Most of a record
// is padding, so the right end is skipped eight blanks at a time.
std::string_view Trimmed(std::string_view record, l::Span span) {
  const char* data = record.data() + span.offset;
  std::size_t used = span.width;
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
  while (used >= 8) {
    std::uint64_t eight;
    std::memcpy(&eight, data + used - 8, 8);
    if (eight != kEightBlanks) break;
    used -= 8;
  }
  return TrimView(std::string_view(data, used));
}

std::string_view RecType(std::string_view record) {
  return record.substr(l::kRecType.offset, l::kRecType.width);
}

void Tell(const ReportProgress& progress, std::size_t done) {
  if (progress) progress(static_cast<int>(done));
}

// Appends the pieces one after the other.
template <typename... Pieces>
void Append(std::string& out, const Pieces&... pieces) {
  (out.append(pieces), ...);
}

void AppendDisplayName(std::string_view r, std::string& out) {
  const auto last = Trimmed(r, l::kLastName);
  const auto first = Trimmed(r, l::kFirstName);
  const auto org = Trimmed(r, l::kOrg);
  if (IsIndividual(RecType(r))) {
    Append(out, last, ", ", first);
    if (!org.empty()) Append(out, " - ", org);
  } else if (IsOrganisation(RecType(r))) {
    out.append(org);
    if (!first.empty() || !last.empty()) Append(out, " - ", first, " ", last);
  }
}

void AppendExtension(std::string_view r, std::string& out) {
  const auto ext = Trimmed(r, l::kExt);
  if (!ext.empty()) Append(out, " (x", ext, ")");
}

// Decodes into `record`, reusing the capacity of its fields.
void DecodeInto(std::string_view bytes, ContactRecord& record) {
  for (const auto& field : kContactFields) {
    (record.*field.member).assign(bytes.substr(field.span.offset, field.span.width));
  }
}

// `text` cut or blank-padded to `width`.
void AppendFitted(std::string& out, std::string_view text, std::size_t width) {
  text = text.substr(0, width);
  out.append(text);
  out.append(width - text.size(), ' ');
}

void AppendLabelLine(std::string& out, std::string_view left, std::string_view right) {
  out.append("  ");
  AppendFitted(out, left, kLabelWidth);
  out.append(10, ' ');
  AppendFitted(out, right, kLabelWidth);
  out.append(kCrLf);
}

void AppendLabelRow(std::string& out, std::string_view a, std::string_view b) {
  std::string left;
  std::string right;
  auto both = [&](auto build) {
    left.clear();
    right.clear();
    build(a, left);
    build(b, right);
    AppendLabelLine(out, left, right);
  };
  both([](std::string_view r, std::string& s) {
    Append(s, Trimmed(r, l::kFirstName), " ", Trimmed(r, l::kLastName));
  });
  both([](std::string_view r, std::string& s) { s.append(Trimmed(r, l::kOrg)); });
  both([](std::string_view r, std::string& s) { s.append(Trimmed(r, l::kAdd1)); });
  both([](std::string_view r, std::string& s) { s.append(Trimmed(r, l::kAdd2)); });
  both([](std::string_view r, std::string& s) {
    Append(s, Trimmed(r, l::kCity), " ", Trimmed(r, l::kState), " ", Trimmed(r, l::kZip));
  });
  out.append(" \r\n");
}

// Whether a web address may be a link: it names no scheme (a bare
// "www.example.org") or one of http, https, mailto and ftp. Browsers drop
// tabs and line breaks anywhere in an address and blanks and control
// characters before it, so those are dropped here before the scheme is read.
bool IsSafeLink(std::string_view web) {
  std::string cleaned;
  for (char c : web) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '\t' || c == '\r' || c == '\n') continue;
    if (cleaned.empty() && code <= 0x20) continue;
    cleaned.push_back(static_cast<char>(std::tolower(code)));
  }
  const std::size_t end = cleaned.find_first_of(":/?#");
  if (end == std::string::npos || cleaned[end] != ':') return true;
  const std::string_view scheme = std::string_view(cleaned).substr(0, end);
  return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp";
}

void AppendHtmlRecord(std::string_view r, const SettingsRecord& settings, std::string& out) {
  auto field = [&](l::Span span) { return Trimmed(r, span); };
  auto escaped = [&](l::Span span) { AppendHtmlEscaped(Trimmed(r, span), out); };
  // An address that would run a script when clicked is no link.
  const auto web = IsSafeLink(field(l::kWeb)) ? field(l::kWeb) : std::string_view();
  const auto org = field(l::kOrg);
  if (!web.empty() && !org.empty()) {
    out.append("<b><a href=\"");
    escaped(l::kWeb);
    out.append("\">");
    escaped(l::kOrg);
    out.append("</b></a><br>\r");
  } else if (web.empty() && !org.empty()) {
    escaped(l::kOrg);
    out.append("<br>\r");
  }

  if (BasicVal(settings.FullName) == 1) {
    const bool mail = !field(l::kEMail).empty();
    if (mail) {
      out.append("<a href=\"mailto:");
      escaped(l::kEMail);
      out.append("\">");
    }
    escaped(l::kFirstName);
    out.push_back(' ');
    escaped(l::kLastName);
    if (!field(l::kTitle).empty()) {
      out.append(", ");
      escaped(l::kTitle);
    }
    out.append(mail ? "</a><br>\r" : "<br>\r");
  }

  if (BasicVal(settings.FullSurface) == 1) {
    for (const l::Span span : {l::kAdd1, l::kAdd2}) {
      if (field(span).empty()) continue;
      escaped(span);
      out.append("<br>\r");
    }
    if (!field(l::kCity).empty() || !field(l::kState).empty() || !field(l::kZip).empty()) {
      escaped(l::kCity);
      out.append(", ");
      escaped(l::kState);
      out.push_back(' ');
      escaped(l::kZip);
      out.append("<br>\r");
    }
    if (!field(l::kCountry).empty()) {
      escaped(l::kCountry);
      out.append("<br>\r");
    }
  }
  out.push_back('\r');

  if (settings.FullPhones == "1") {
    if (!field(l::kPhone).empty() || !field(l::kFax).empty()) {
      out.append("Phone: ");
      escaped(l::kPhone);
      if (!field(l::kExt).empty()) {
        out.append(" (x");
        escaped(l::kExt);
        out.push_back(')');
      }
      out.append(" Fax: ");
      escaped(l::kFax);
      out.append("<br>\r");
    }
    if (!field(l::kCellular).empty() || !field(l::kBeeper).empty()) {
      out.append("Cellular: ");
      escaped(l::kCellular);
      out.append(" Page: ");
      escaped(l::kBeeper);
      out.append("<br>\r");
    }
  }
  if (settings.FullNotes == "1") {
    if (!field(l::kNotes).empty()) {
      out.append(kCrLf);
      escaped(l::kNotes);
      out.append("<br>\r");
    }
    out.append("<p>");
  }
  out.append(kCrLf);
}

}  // namespace

void AppendHtmlEscaped(std::string_view text, std::string& out) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* reference = nullptr;
    switch (text[i]) {
      case '&':
        reference = "&amp;";
        break;
      case '<':
        reference = "&lt;";
        break;
      case '>':
        reference = "&gt;";
        break;
      case '"':
        reference = "&quot;";
        break;
      default:
        continue;
    }
    out.append(text.substr(start, i - start));
    out.append(reference);
    start = i + 1;
  }
  out.append(text.substr(start));
}

std::string SimplePhoneList(StoredRecords records, const ReportProgress& progress) {
  std::string out(kHeader);
  out.reserve(records.size() * 64);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    const auto phone = Trimmed(r, l::kPhone);
    if (!phone.empty()) {
      AppendDisplayName(r, out);
      Append(out, " - ", phone);
      AppendExtension(r, out);
      out.append(kCrLf);
    }
    Tell(progress, i + 1);
  }
  return out;
}

std::string CompletePhoneList(StoredRecords records, const ReportProgress& progress) {
  std::string out(kHeader);
  out.reserve(records.size() * 128);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    const auto phone = Trimmed(r, l::kPhone);
    const auto fax = Trimmed(r, l::kFax);
    const auto cellular = Trimmed(r, l::kCellular);
    const auto beeper = Trimmed(r, l::kBeeper);
    if (!phone.empty() || !fax.empty() || !cellular.empty() || !beeper.empty()) {
      AppendDisplayName(r, out);
      out.append(kCrLf);
      if (!phone.empty()) {
        Append(out, "phone: ", phone);
        AppendExtension(r, out);
        out.push_back(' ');
      }
      if (!fax.empty()) Append(out, "fax: ", fax, " ");
      if (!cellular.empty()) Append(out, "cellular: ", cellular, " ");
      if (!beeper.empty()) Append(out, "pager: ", beeper, " ");
      Append(out, kCrLf, kCrLf);
    }
    Tell(progress, i + 1);
  }
  return out;
}

std::string CompleteRecordsText(StoredRecords records, const SettingsRecord& settings,
                                const ReportProgress& progress) {
  static constexpr std::string_view kRule =
      "------------------------------------------------------------------------------\r\n";
  static_assert(kRule.size() == 78 + 2);
  std::string out(kHeader);
  out.reserve(records.size() * 400);
  ContactRecord record;
  for (std::size_t i = 0; i < records.size(); ++i) {
    DecodeInto(records[i], record);
    Append(out, TrimView(PasteUpFull(record, settings)), kCrLf, kRule);
    Tell(progress, i + 1);
  }
  return out;
}

std::string CompleteRecordsHtml(StoredRecords records, const SettingsRecord& settings,
                                const HtmlPage& page, const ReportProgress& progress) {
  // The page is written in Windows-1252; without saying so a browser guesses.
  std::string out =
      "<HTML>\r<HEAD>\r<META http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=windows-1252\">\r<TITLE>Created with Tabrel</TITLE>\r</HEAD>\r<BODY>\r\r\n";
  out.reserve(records.size() * 400);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (page.include_without_web || !Trimmed(records[i], l::kWeb).empty()) {
      AppendHtmlRecord(records[i], settings, out);
    }
    Tell(progress, i + 1);
  }
  char date[32];
  std::snprintf(date, sizeof date, "%02d-%02d-%04d", page.today.month, page.today.day,
                page.today.year);
  Append(out, "<hr>\r\r\n", "<center> Web page generated automatically by <a href=", page.home_page,
         "><b>Tabrel</b></a><br>\r\r\n", std::string_view(date), "<br>\r\r\n",
         "<a href=", page.home_page, "> Dunmarrow Homepage</a><br></center>\r\r\n",
         "</BODY>\r</HTML>\r\n");
  return out;
}

std::string AddressLabels(StoredRecords records, const ReportProgress& progress) {
  std::string out;
  out.reserve(records.size() / 2 * 6 * 96 + 6 * 96);
  const std::size_t pairs = records.size() / 2;
  for (std::size_t j = 1; j <= pairs; ++j) {
    AppendLabelRow(out, records[2 * j - 2], records[2 * j - 1]);
    Tell(progress, 2 * j);
  }
  if (records.size() % 2 == 1) {
    AppendLabelRow(out, records.back(), records.back());
    Tell(progress, records.size());
  }
  return out;
}

std::string EmailList(StoredRecords records, const SettingsRecord& settings,
                      const ReportProgress& progress) {
  const bool with_names = settings.MailFormat == "1";
  std::string out(kHeader);
  out.reserve(records.size() * 64);
  std::string line;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string_view r = records[i];
    const auto email = Trimmed(r, l::kEMail);
    if (!email.empty()) {
      line.clear();
      if (with_names) {
        Append(line, Trimmed(r, l::kFirstName), " ", Trimmed(r, l::kLastName), " <", email, ">");
      } else {
        line.append(email);
      }
      Append(out, TrimView(line), kCrLf);
    }
    Tell(progress, i + 1);
  }
  return out;
}

}  // namespace tabrel
