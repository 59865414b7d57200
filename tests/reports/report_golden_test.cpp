// Every report's exact bytes for a small hand-made data set, compared with
// tests/testdata/reports/<case>.expected. Set TABREL_UPDATE_GOLDEN=1 to
// rewrite the expected files after a deliberate change, and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/golden.h"
#include "fakes/print_preview_harness.h"

namespace tabrel {
namespace {

using testing::FirstDifference;
using testing::ParseContacts;
using testing::ReadBytes;

const std::filesystem::path kDataFolder = testing::TestDataFolder("reports");

// The rows of the record list, top to bottom, by stamp. "09-09-1999 999"
// matches no record and must be left out by every report.
const std::vector<std::string> kAllRows = {"04-05-2006 500", "01-02-2003 100", "01-02-2003 200",
                                           "09-09-1999 999", "02-03-2004 300", "03-04-2005 400",
                                           "05-06-2007 600", "06-07-2008 700", "07-08-2009 800"};
const std::vector<std::string> kSevenRows(kAllRows.begin(), kAllRows.end() - 1);

void AllFlags(SettingsRecord& s, const char* value) {
  for (auto* flag :
       {&s.FullName, &s.FullSurface, &s.FullPhones, &s.FullEmail, &s.FullWeb, &s.FullNotes}) {
    *flag = value;
  }
}

// kWholeList: the record list as the main window fills it with every record.
const std::vector<std::string> kWholeList = {"<whole list>"};

struct GoldenCase {
  const char* name;
  void (PrintPreview::*report)(Grid& list);
  std::vector<std::string> rows;
  std::function<void(SettingsRecord&)> settings = [](SettingsRecord&) {};
  // The answer to the HTML report's question about records without links.
  MessageAnswer include_all = MessageAnswer::kYes;
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& c) {
  return out << c.name;
}

class ReportGoldenTest : public ::testing::TestWithParam<GoldenCase>,
                         public testing::PrintPreviewHarness {};

TEST_P(ReportGoldenTest, WritesTheExpectedBytes) {
  const GoldenCase& c = GetParam();
  clock.now = {2024, 3, 7, 3600};
  testing::WriteContacts(dir, ParseContacts(ReadBytes(kDataFolder / "contacts.in")));
  c.settings(state.settings);
  if (c.rows == kWholeList) {
    list.ClearToHeader();
    ASSERT_TRUE(AppendSelectedRows(list, state, kAllRecords, {}).ok());
  } else {
    ListStamps(c.rows);
  }
  dialogs.answers.push_back(c.include_all);
  (preview.*c.report)(list);
  const std::string actual = PreviewFile();
  const auto expected_path = kDataFolder / (std::string(c.name) + ".expected");
  if (std::getenv("TABREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(expected_path, std::ios::binary) << actual;
  }
  ASSERT_TRUE(std::filesystem::exists(expected_path)) << expected_path;
  const std::string expected = ReadBytes(expected_path);
  EXPECT_TRUE(expected == actual) << c.name << ": " << FirstDifference(expected, actual);
  // Every report ends in its preview.
  EXPECT_TRUE(view.print_options_visible);
  EXPECT_FALSE(menus.enabled);
}

const GoldenCase kCases[] = {
    {"simple_phone_list", &PrintPreview::mu_SimplePhoneList_Click, kAllRows},
    {"simple_phone_list_empty", &PrintPreview::mu_SimplePhoneList_Click, {}},
    {"complete_phone_list", &PrintPreview::mu_PrintPhoneList_Click, kAllRows},
    {"complete_records_text", &PrintPreview::mu_PrintCompleteRecords_Click, kAllRows},
    {"complete_records_text_flags_off", &PrintPreview::mu_PrintCompleteRecords_Click, kAllRows,
     [](SettingsRecord& s) {
       AllFlags(s, "0");
       s.FullSurface = " ";  // no number counts as off
     }},
    {"complete_records_html", &PrintPreview::mu_PrintComplete_HTML_Click, kAllRows},
    {"complete_records_html_web_only", &PrintPreview::mu_PrintComplete_HTML_Click, kAllRows,
     [](SettingsRecord&) {}, MessageAnswer::kNo},
    {"complete_records_html_flags_off", &PrintPreview::mu_PrintComplete_HTML_Click, kAllRows,
     [](SettingsRecord& s) { AllFlags(s, "0"); }},
    {"address_labels_even", &PrintPreview::mu_printMailingAddresses_Click, kAllRows},
    {"address_labels_odd", &PrintPreview::mu_printMailingAddresses_Click, kSevenRows},
    {"address_labels_empty", &PrintPreview::mu_printMailingAddresses_Click, {}},
    {"email_list", &PrintPreview::mu_printEmail_Click, kAllRows},
    {"email_list_with_names", &PrintPreview::mu_printEmail_Click, kAllRows,
     [](SettingsRecord& s) { s.MailFormat = "1"; }},
    // The command line's reports are held to these same files.
    {"whole_list_simple_phone", &PrintPreview::mu_SimplePhoneList_Click, kWholeList},
    {"whole_list_phone", &PrintPreview::mu_PrintPhoneList_Click, kWholeList},
    {"whole_list_text", &PrintPreview::mu_PrintCompleteRecords_Click, kWholeList},
    {"whole_list_html", &PrintPreview::mu_PrintComplete_HTML_Click, kWholeList,
     [](SettingsRecord&) {}, MessageAnswer::kNo},
    {"whole_list_html_with_unlinked", &PrintPreview::mu_PrintComplete_HTML_Click, kWholeList},
    {"whole_list_labels", &PrintPreview::mu_printMailingAddresses_Click, kWholeList},
    {"whole_list_email", &PrintPreview::mu_printEmail_Click, kWholeList},
};

INSTANTIATE_TEST_SUITE_P(Reports, ReportGoldenTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tabrel
