#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "reports/report_text.h"
#include "store/settings_record.h"

namespace tabrel::cli {

// What a report needs besides its records.
struct ReportOptions {
  const SettingsRecord& settings;
  bool with_unlinked = false;  // html: also the records without a web address
  LocalDateTime today;         // html: the footer's date
};

// One KIND of the report command: the report text the print preview
// writes to its file for the same records.
struct ReportKind {
  std::string_view name;
  std::string (*build)(StoredRecords records, const ReportOptions& options);
};

std::span<const ReportKind> ReportKinds();
const ReportKind* FindReportKind(std::string_view name);

}  // namespace tabrel::cli
