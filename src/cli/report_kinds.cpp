#include "cli/report_kinds.h"

#include <array>

#include "present/product.h"

namespace tabrel::cli {
namespace {

const std::array<ReportKind, 6> kKinds = {{
    {"simple-phone",
     [](StoredRecords records, const ReportOptions&) { return SimplePhoneList(records); }},
    {"phone",
     [](StoredRecords records, const ReportOptions&) { return CompletePhoneList(records); }},
    {"text",
     [](StoredRecords records, const ReportOptions& options) {
       return CompleteRecordsText(records, options.settings);
     }},
    {"html",
     [](StoredRecords records, const ReportOptions& options) {
       HtmlPage page;
       page.include_without_web = options.with_unlinked;
       page.today = options.today;
       page.home_page = kMakerHomePage;
       return CompleteRecordsHtml(records, options.settings, page);
     }},
    {"labels", [](StoredRecords records, const ReportOptions&) { return AddressLabels(records); }},
    {"email", [](StoredRecords records,
                 const ReportOptions& options) { return EmailList(records, options.settings); }},
}};

}  // namespace

std::span<const ReportKind> ReportKinds() {
  return kKinds;
}

const ReportKind* FindReportKind(std::string_view name) {
  for (const ReportKind& kind : kKinds) {
    if (kind.name == name) return &kind;
  }
  return nullptr;
}

}  // namespace tabrel::cli
