// Every report's exact bytes for a small hand-made data set, compared with
// tests/testdata/reports/<case>.expected. Set TABREL_UPDATE_GOLDEN=1 to
// rewrite the expected files after a deliberate change, and review the diff.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fakes/case_file.h"
#include "fakes/golden.h"
#include "fakes/print_preview_harness.h"

namespace tabrel {
namespace {

using testing::ParseContacts;
using testing::ReadBytes;

const std::filesystem::path kDataFolder = testing::TestDataFolder("reports");

// The rows of the record list, top to bottom, by stamp. "09-09-1999 999"
// matches no record and must be left out by every report.
const std::vector<std::string> kAllRows = {"04-05-2006 500", "01-02-2003 100", "01-02-2003 200",
                                           "09-09-1999 999", "02-03-2004 300", "03-04-2005 400",
                                           "05-06-2007 600", "06-07-2008 700", "07-08-2009 800"};
const std::vector<std::string> kSevenRows(kAllRows.begin(), kAllRows.end() - 1);

class ReportGoldenTest : public testing::FileCaseTest, public testing::PrintPreviewHarness {};

TEST_P(ReportGoldenTest, WritesTheExpectedBytes) {
  const testing::FileCase& c = GetParam();
  const std::map<std::string, void (PrintPreview::*)(Grid&)> reports = {
      {"simple_phone", &PrintPreview::mu_SimplePhoneList_Click},
      {"phone", &PrintPreview::mu_PrintPhoneList_Click},
      {"records", &PrintPreview::mu_PrintCompleteRecords_Click},
      {"html", &PrintPreview::mu_PrintComplete_HTML_Click},
      {"labels", &PrintPreview::mu_printMailingAddresses_Click},
      {"email", &PrintPreview::mu_printEmail_Click}};
  clock.now = {2024, 3, 7, 3600};
  testing::WriteContacts(dir, ParseContacts(ReadBytes(kDataFolder / "contacts.in")));
  SettingsRecord& s = state.settings;
  for (auto* flag :
       {&s.FullName, &s.FullSurface, &s.FullPhones, &s.FullEmail, &s.FullWeb, &s.FullNotes}) {
    *flag = c.Get("flags", *flag);
  }
  s.FullSurface = c.Get("surface", s.FullSurface);
  s.MailFormat = c.Get("mail_format", s.MailFormat);
  const std::string rows = c.Get("rows");
  if (rows == "whole") {
    list.ClearToHeader();
    ASSERT_TRUE(AppendSelectedRows(list, state, kAllRecords, {}).ok());
  } else {
    ListStamps(rows == "all"     ? kAllRows
               : rows == "seven" ? kSevenRows
                                 : std::vector<std::string>{});
  }
  dialogs.answers.push_back(c.Get("include_all", "yes") == "no" ? MessageAnswer::kNo
                                                                : MessageAnswer::kYes);
  (preview.*reports.at(c.Get("report")))(list);
  testing::ExpectGolden(kDataFolder, c.name, PreviewFile());
  // Every report ends in its preview.
  EXPECT_TRUE(view.print_options_visible);
  EXPECT_FALSE(menus.enabled);
}

TABREL_FILE_CASES(Reports, ReportGoldenTest, "reports", "reports.cases");

}  // namespace
}  // namespace tabrel
