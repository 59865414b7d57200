#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "store/settings_record.h"

namespace tabrel {

// The text of each report, built in one pass into one string: Windows-1252
// bytes with CR LF line ends, exactly as tr_view.tmp holds it.
//
// `records` are stored records (1047 bytes each) of the record list's rows
// in the order shown; rows whose record is gone are already left out.
// `progress`, when set, is told how many records have been written.
using StoredRecords = std::span<const std::string_view>;
using ReportProgress = std::function<void(int done)>;

// Two empty lines, then "name - phone (xExt)" for every record with a phone.
std::string SimplePhoneList(StoredRecords records, const ReportProgress& progress = {});
// Two empty lines, then for every record with any number a name line, a
// line of the numbers that are set (each followed by a blank) and an empty
// line. A record that is neither individual nor organisation has no name.
std::string CompletePhoneList(StoredRecords records, const ReportProgress& progress = {});
// Two empty lines, then every record's full-record block (PasteUpFull,
// blanks trimmed) followed by a line of 78 hyphens.
std::string CompleteRecordsText(StoredRecords records, const SettingsRecord& settings,
                                const ReportProgress& progress = {});

struct HtmlPage {
  // false lists only the records with a web address.
  bool include_without_web = true;
  LocalDateTime today;
  // Where the footer's two links point.
  std::string_view home_page;
};
// A web page of the records, pieces separated by lone CRs and every write
// ended by CR LF, declared as Windows-1252. Every record field is escaped for
// HTML, and a web address with a scheme other than http, https, mailto or
// ftp (javascript:, data:, file:) is shown as no link at all.
std::string CompleteRecordsHtml(StoredRecords records, const SettingsRecord& settings,
                                const HtmlPage& page, const ReportProgress& progress = {});

// Label rows of two labels across: five lines of 92 characters (two blanks,
// 40 for the left label, ten blanks, 40 for the right one) and a line of one
// blank. A label text longer than 40 characters is cut, so that the right
// label keeps its column. With an odd count the last record fills both
// labels of the last row. No header: an empty list gives an empty text.
std::string AddressLabels(StoredRecords records, const ReportProgress& progress = {});

// Two empty lines, then the e-mail address of every record that has one;
// with the settings' MailFormat "1" as "First Last <address>".
std::string EmailList(StoredRecords records, const SettingsRecord& settings,
                      const ReportProgress& progress = {});

// Appends `text` with &, <, > and " written as character references.
void AppendHtmlEscaped(std::string_view text, std::string& out);

}  // namespace tabrel
