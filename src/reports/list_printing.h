#pragma once

#include <string_view>

#include "base/status.h"
#include "platform/printer.h"
#include "store/contact_record.h"
#include "store/settings_record.h"

namespace tabrel {

// Printing of a report's text (tr_view.tmp's bytes, lines as NextReportLine
// splits them) and of envelopes. Each call prints one document, one print
// job however many pages it has; its Status says whether the printer took
// it, and the caller tells the user.

// Every line in "Arial" bold 10 after a tab. With `print_lines` P of 1 or
// more a page ends at the first empty line among its last five (line P - 4
// or later) and always once more than P lines are on it; later pages begin
// with three empty lines. P below 1 means no page breaks.
Status PrintList(Printer& printer, std::string_view text, int print_lines);

// Label rows in "courier new" bold 10, the lines as they are: four empty
// lines and 59 lines on the first page, three empty lines and 60 lines on
// every later one, so each page holds ten label rows at the same places.
Status PrintLabels(Printer& printer, std::string_view text);

// The mailing address of `record` on an envelope: 2 x TPad empty lines,
// then the address lines each indented by LPad tabs (the settings' numeric
// values, 0 to 99). The envelope page setting is given first.
Status PrintEnvelope(Printer& printer, const ContactRecord& record, const SettingsRecord& settings);

}  // namespace tabrel
