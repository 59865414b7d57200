// An import decided without writing: what a preview, a dry run and Import
// itself start from. Each record's decision, the refusals and failures.
#include "exchange/importing/import_plan.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using testing::Contact;
using Texts = std::vector<std::string>;

class ImportPlanTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {Contact("1", "Baker", "Ann", "01-01-2000 1"),
                                  Contact("2", "Acme", "", "01-01-2000 2")});
  }
  ImportPlan Plan(ImportKind kind, const std::string& name, DuplicateRules rules = {}) {
    return PlanImport(state, {kind, program.File(name)}, rules, {2024, 3, 7, 3600});
  }
  static Texts Decisions(const ImportPlan& plan) {
    Texts texts;
    for (const ImportDecision& d : plan.import.decisions()) {
      texts.push_back(RecordImport::DecisionText(d));
    }
    return texts;
  }
};

TEST_F(ImportPlanTest, EveryRecordIsDecidedAndNothingIsWritten) {
  testing::WriteContacts(
      program,
      {Contact("1", "Baker", "Ann", "02-02-2002 1"), Contact("2", "Acme", "", "12-12-1999 9"),
       Contact("1", "Cole", "Cid", "03-03-2003 3"), Contact("1", "Baker", "Ann", "03-03-2003 4")},
      "export.dat");
  const std::string before = data.Read("tabrel.dat");
  std::vector<std::pair<std::size_t, std::size_t>> progress;
  const ImportPlan plan =
      PlanImport(state, {ImportKind::kNative, program.File("export.dat")}, {}, {2024, 3, 7, 3600},
                 [&](std::size_t done, std::size_t total) { progress.emplace_back(done, total); });
  ASSERT_TRUE(plan.ready());
  EXPECT_EQ(plan.file.entries, 4u);
  // The second Baker meets the record the first one wrote.
  EXPECT_EQ(Decisions(plan), (Texts{"replace 01-01-2000 1", "skip (duplicate of 01-01-2000 2)",
                                    "add", "replace 02-02-2002 1"}));
  EXPECT_EQ(progress.back(), (std::pair<std::size_t, std::size_t>{4, 4}));
  EXPECT_EQ(plan.import.report().added(), 1u);
  EXPECT_EQ(data.Read("tabrel.dat"), before);

  const ImportPlan always = Plan(ImportKind::kNative, "export.dat",
                                 {DuplicateDefinition::kSameName, DuplicateSkip::kAlways});
  EXPECT_EQ(Decisions(always), (Texts{"skip (duplicate of 01-01-2000 1)", "add", "add",
                                      "skip (duplicate of 01-01-2000 1)"}));
}

TEST_F(ImportPlanTest, AFileOfTheWrongShapeIsRefusedAndAMissingOneFails) {
  program.Write("short.dat", std::string(layout::kContactRecordLength - 1, ' '));
  const ImportPlan refused = Plan(ImportKind::kNative, "short.dat");
  EXPECT_FALSE(refused.ready());
  EXPECT_TRUE(refused.failure.ok());
  EXPECT_EQ(refused.refusal, "This file does not contain Tabrel 3 records, or they are corrupt");
  EXPECT_TRUE(refused.import.decisions().empty());

  program.Write("none.vcf", "no cards here\r\nEND:VCARD\r\n");
  EXPECT_EQ(Plan(ImportKind::kVcard, "none.vcf").refusal,
            "This file does not contain vCards (no BEGIN:VCARD ... END:VCARD).");

  const ImportPlan missing = Plan(ImportKind::kVcard, "gone.vcf");
  EXPECT_FALSE(missing.ready());
  EXPECT_FALSE(missing.failure.ok());
  EXPECT_FALSE(Plan(ImportKind::kDos, "gone.dat").failure.ok());
}

TEST_F(ImportPlanTest, TheFileIsDescribedByWhatItHolds) {
  program.Write("three.vcf",
                "BEGIN:VCARD\nFN:a\nEND:VCARD\nBEGIN:VCARD\nFN:b\nEND:VCARD\n"
                "BEGIN:VCARD\nFN:c\nEND:VCARD\n");
  const auto vcards = LookAtImportFile({ImportKind::kVcard, program.File("three.vcf")});
  ASSERT_TRUE(vcards.ok());
  EXPECT_TRUE(vcards.value().importable);
  EXPECT_EQ(vcards.value().entries, 3u);
  EXPECT_EQ(EntriesText(ImportKind::kVcard, 3), "This file contains 3 vCards,");

  program.Write("odd.dat", std::string(layout::kDosRecordLength + 1, ' '));
  const auto dos = LookAtImportFile({ImportKind::kDos, program.File("odd.dat")});
  ASSERT_TRUE(dos.ok());
  EXPECT_FALSE(dos.value().importable);
  EXPECT_EQ(dos.value().entries, 1u);
  const auto gone = LookAtImportFile({ImportKind::kNative, program.File("gone.dat")});
  ASSERT_TRUE(gone.ok());
  EXPECT_FALSE(gone.value().exists);
  EXPECT_FALSE(gone.value().importable);
}

}  // namespace
}  // namespace tabrel
