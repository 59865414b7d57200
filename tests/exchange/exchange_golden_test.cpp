// The exact bytes of the native and DOS exports and of a merged data set,
// compared with tests/testdata/exchange/<case>.expected. Set
// TABREL_UPDATE_GOLDEN=1 to rewrite the expected files after a deliberate
// change, and review the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "fakes/exchange_harness.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::ParseContacts;
using testing::ReadBytes;

const std::filesystem::path kFolder = testing::TestDataFolder("exchange");

class ExchangeGoldenTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, ParseContacts(ReadBytes(kFolder / "contacts.in")));
    testing::WriteKeywords(data, {"Golf", "Suppliers", "Tools", "~Family"});
    // Every record in an order of its own, and a row whose record is gone.
    host.ListStamps({"03-04-2005 300", "01-02-2003 100", "09-09-1999 999", "05-06-2007 500",
                     "02-03-2004 200", "04-05-2006 400"});
  }
  std::string ExportTo(const std::string& name, bool dos) {
    dialogs.answers = {MessageAnswer::kYes};
    dialogs.input_answers = {name};
    if (dos) {
      menu.mu_ExportOldTabrel_Click();
    } else {
      menu.mu_exportTabrel_Click();
    }
    EXPECT_EQ(dialogs.messages.back().title, "Export Complete");
    return documents.Read(name);
  }
};

TEST_F(ExchangeGoldenTest, NativeExportWritesTheStoredRecordsInListOrder) {
  testing::ExpectGolden(kFolder, "native_export", ExportTo("export.dat", false),
                        l::kContactRecordLength);
}

TEST_F(ExchangeGoldenTest, DosExportCutsFieldsSplitsNotesAndKeepsShortCountries) {
  testing::ExpectGolden(kFolder, "dos_export", ExportTo("contact.mer", true), l::kDosRecordLength);
}

TEST_F(ExchangeGoldenTest, ADosFileReadIntoADataSetAndWrittenOutAgainIsUnchanged) {
  const std::string dos = ReadBytes(kFolder / "dos_export.expected");
  ASSERT_EQ(dos.size(), 5 * l::kDosRecordLength);
  documents.Write("contact.dat", dos);
  testing::TempDir fresh;
  state.data_path = fresh.path();
  OpenImport(ImportKind::kDos, documents.File("contact.dat")).Command1_Click();
  EXPECT_TRUE(import_view.results.starts_with("5 records were added."));
  host.ListStamps(testing::Stamps(fresh.Read("tabrel.dat")));
  EXPECT_TRUE(ExportTo("round.mer", true) == dos);
}

TEST_F(ExchangeGoldenTest, ImportMergesRecordsAndKeywordsIntoTheExpectedFiles) {
  clock.now = {2024, 3, 7, 3600};
  testing::WriteContacts(documents, ParseContacts(ReadBytes(kFolder / "incoming.in")),
                         "incoming.dat");
  OpenImport(ImportKind::kNative, documents.File("incoming.dat")).Command1_Click();
  EXPECT_TRUE(import_view.results.starts_with(
      "2 records were added.\r\n1 record was replaced.\r\n2 duplicates were skipped.\r\n3 "
      "keywords were added.\r\n\r\nNote"))
      << import_view.results;
  testing::ExpectGolden(kFolder, "merged_tabrel", data.Read("tabrel.dat"), l::kContactRecordLength);
  testing::ExpectGolden(kFolder, "merged_keyword", data.Read("keyword.dat"),
                        l::kKeywordRecordLength);
}

}  // namespace
}  // namespace tabrel
