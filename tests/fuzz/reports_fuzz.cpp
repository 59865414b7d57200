// Every report over arbitrary records and settings: none may crash, the
// text reports end their lines with CR LF, and the web page holds no markup
// from a field and no link of a scheme that runs code.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_data_set.h"
#include "reports/report_text.h"
#include "store/layout.h"
#include "store/settings_record.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input = fuzz::Bytes(data, size);
  const std::size_t settings_size = std::min<std::size_t>(input.size(), 821);
  const SettingsRecord settings = DecodeSettings(input.substr(0, settings_size));
  input.remove_prefix(settings_size);
  std::vector<std::string_view> records;
  for (std::size_t at = 0; at + layout::kContactRecordLength <= input.size();
       at += layout::kContactRecordLength) {
    records.push_back(input.substr(at, layout::kContactRecordLength));
  }
  SimplePhoneList(records);
  CompletePhoneList(records);
  CompleteRecordsText(records, settings);
  AddressLabels(records);
  EmailList(records, settings);
  const HtmlPage page{true, {2000, 1, 1, 0}, "https://tabrel.example.org/"};
  const std::string html = CompleteRecordsHtml(records, settings, page);
  for (const char* forbidden : {"<script", "<SCRIPT", "href=\"javascript:", "href=\"data:"}) {
    if (html.find(forbidden) != std::string::npos) std::abort();
  }
  return 0;
}
