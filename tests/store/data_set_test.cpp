#include "store/data_set.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "fakes/temp_dir.h"
#include "store/settings_record.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::TempDir;
using testing::WriteContacts;

constexpr char kStampA[] = "12-31-1999 45296.13";
constexpr char kStampB[] = "01-02-2000 .5";
constexpr char kStampC[] = "03-04-2001 7";

class DataSetTest : public ::testing::Test {
 protected:
  TempDir program;
  TempDir data;
  AppState state{program.path()};

  void SetUp() override { state.data_path = data.path(); }

  std::vector<std::string> LastNamesOnDisk() const {
    std::vector<std::string> names;
    const std::string bytes = data.Read("tabrel.dat");
    for (std::size_t at = 0; at + 1047 <= bytes.size(); at += 1047) {
      names.push_back(Trim(DecodeContact(bytes.substr(at, 1047)).LastName));
    }
    return names;
  }
};

TEST_F(DataSetTest, LoadRecordByStampTakesTheFirstRecordWithThatStamp) {
  auto first = Contact("1", "Adams", "Ann", kStampB);
  auto twin = Contact("3", "Baker", "Bob", kStampB);
  WriteContacts(data, {Contact("1", "Other", "", kStampA), first, twin});
  state.editor_record.Modified = kStampB;  // shorter than 19: compared blank-padded
  auto found = LoadRecordByStamp(state);
  ASSERT_TRUE(found.ok());
  EXPECT_TRUE(found.value());
  EXPECT_EQ(state.current_record_number, 2);
  EXPECT_EQ(state.editor_record, DecodeContact(EncodeContact(first)));
}

TEST_F(DataSetTest, LoadRecordByStampWithoutMatchChangesNothing) {
  WriteContacts(data, {Contact("1", "Adams", "Ann", kStampA)});
  state.current_record_number = 7;
  state.editor_record = Contact("2", "Editor copy", "", " 12-31-1999 45296.1");
  const ContactRecord before = state.editor_record;
  auto found = LoadRecordByStamp(state);
  ASSERT_TRUE(found.ok());
  EXPECT_FALSE(found.value());
  EXPECT_EQ(state.current_record_number, 7);
  EXPECT_EQ(state.editor_record, before);
}

TEST_F(DataSetTest, DeleteRemovesEveryRecordWithTheStampAndKeepsTheOrder) {
  WriteContacts(data, {Contact("1", "A", "", kStampA), Contact("1", "B", "", kStampB),
                       Contact("1", "C", "", kStampC), Contact("1", "D", "", kStampB),
                       Contact("1", "E", "", kStampA)});
  state.editor_record.Modified = std::string(kStampB) + "      ";
  ASSERT_TRUE(DeleteRecord(state).ok());
  EXPECT_EQ(LastNamesOnDisk(), (std::vector<std::string>{"A", "C", "E"}));
  EXPECT_FALSE(data.Exists("contact.tmp"));
  EXPECT_FALSE(program.Exists("contact.tmp"));
}

TEST_F(DataSetTest, DeleteDiscardsALeftoverTemporaryFile) {
  WriteContacts(data, {Contact("1", "A", "", kStampA), Contact("1", "B", "", kStampB)});
  WriteContacts(data, {Contact("1", "Stale", "", kStampC)}, "contact.tmp");
  state.editor_record.Modified = kStampA;
  ASSERT_TRUE(DeleteRecord(state).ok());
  EXPECT_EQ(LastNamesOnDisk(), (std::vector<std::string>{"B"}));
}

class DeleteFaultTest : public DataSetTest, public ::testing::WithParamInterface<RewriteStep> {};

TEST_P(DeleteFaultTest, FailureBeforeTheRenameLeavesTabrelDatByteIdentical) {
  const std::string original =
      ContactBytes({Contact("1", "A", "", kStampA), Contact("1", "B", "", kStampB)}) + "partial";
  data.Write("tabrel.dat", original);
  state.editor_record.Modified = kStampA;
  const RewriteStep failing = GetParam();
  std::vector<RewriteStep> reached;
  const RewriteFaultHook fault = [&](RewriteStep step) {
    reached.push_back(step);
    return step == failing;
  };
  const Status status = DeleteRecord(state, &fault);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.number(), 57);
  EXPECT_NE(status.ErrorLine().find("contact.tmp"), std::string::npos) << status.ErrorLine();
  EXPECT_EQ(reached.back(), failing);
  EXPECT_EQ(data.Read("tabrel.dat"), original);
  EXPECT_FALSE(data.Exists("contact.tmp"));
  EXPECT_FALSE(program.Exists("contact.tmp"));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, DeleteFaultTest,
                         ::testing::Values(RewriteStep::kCreate, RewriteStep::kWrite,
                                           RewriteStep::kFlush, RewriteStep::kClose,
                                           RewriteStep::kRename));

TEST_F(DataSetTest, ClearRecordBlanksEveryFieldAtFullWidth) {
  state.current_record = Contact("3", "Smith", "Jo", kStampA);
  state.current_record.Notes = "notes";
  ClearRecord(state);
  EXPECT_EQ(EncodeContact(state.current_record), std::string(1047, ' '));
  EXPECT_EQ(state.current_record.Notes.size(), 500u);
}

// Settings at start-up.

std::string Le16(int value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

TEST_F(DataSetTest, FirstStartCreatesTr30IniWithTheDefaults) {
  state.data_path = "/somewhere/else/";
  ASSERT_TRUE(LoadSettings(state).ok());
  const std::string ini = program.Read("tr30.ini");
  ASSERT_EQ(ini.size(), 821u);
  EXPECT_EQ(ini.substr(0, 40), std::string(40, ' '));
  EXPECT_EQ(ini.substr(40, 2), Le16(250));
  EXPECT_EQ(ini.substr(42, 211), std::string(211, ' '));  // paths and reserved texts
  EXPECT_EQ(ini.substr(253, 2), Le16(60));
  EXPECT_EQ(ini.substr(255, 8), std::string(8, '\0'));
  EXPECT_EQ(ini.substr(263, 40), std::string(40, ' '));
  EXPECT_EQ(ini.substr(303, 1), "1");
  EXPECT_EQ(ini.substr(304, 40), std::string(40, ' '));  // area, long distance, PBX
  EXPECT_EQ(ini.substr(344, 7), "1111111");
  EXPECT_EQ(ini.substr(351, 2), "8 ");
  EXPECT_EQ(ini.substr(353, 2), "12");
  EXPECT_EQ(ini.substr(355, 440), std::string(440, ' '));  // Quick Update and programs
  EXPECT_EQ(ini.substr(795, 1), "0");
  EXPECT_EQ(ini.substr(796, 25), std::string(25, ' '));
  EXPECT_EQ(state.settings, DefaultSettings());
  EXPECT_EQ(state.data_path, program.path());
  EXPECT_FALSE(program.Exists("tr30.$$$"));
}

TEST_F(DataSetTest, EmptyTr30IniIsFilledWithTheDefaults) {
  program.Write("tr30.ini", "");
  ASSERT_TRUE(LoadSettings(state).ok());
  EXPECT_EQ(program.Read("tr30.ini"), EncodeSettings(DefaultSettings()));
}

TEST_F(DataSetTest, ShortOrGarbageTr30IniReadsWhatItHasAndDefaultsForTheRest) {
  struct Case {
    std::string bytes;
    int preview;
    int print;
    std::string port;
  };
  const Case cases[] = {
      {"x", 250, 60, "1"},
      {std::string(40, '#') + Le16(99), 99, 60, "1"},
      {std::string(304, '\xFF'), -1, -1, "\xFF"},
      {std::string(821, '\0'), 0, 0, std::string(1, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    program.Write("tr30.ini", c.bytes);
    ASSERT_TRUE(LoadSettings(state).ok());
    EXPECT_EQ(state.settings.PreviewLines, c.preview);
    EXPECT_EQ(state.settings.PrintLines, c.print);
    EXPECT_EQ(state.settings.CommPort, c.port);
    if (c.bytes.size() < 351) {
      EXPECT_EQ(state.settings.LPad, "8 ");
    }
    EXPECT_EQ(program.Read("tr30.ini"), c.bytes) << "reading must not rewrite the file";
  }
}

TEST_F(DataSetTest, FailedSettingsWriteLeavesTr30IniAsItWas) {
  const std::string original = EncodeSettings(DefaultSettings()) + "tail";
  program.Write("tr30.ini", original);
  SettingsRecord changed = DefaultSettings();
  changed.PrintLines = 10;
  for (RewriteStep failing : {RewriteStep::kCreate, RewriteStep::kWrite, RewriteStep::kFlush,
                              RewriteStep::kClose, RewriteStep::kRename}) {
    const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
    EXPECT_FALSE(WriteSettingsFile(program.path(), changed, &fault).ok());
    EXPECT_EQ(program.Read("tr30.ini"), original);
    EXPECT_FALSE(program.Exists("tr30.$$$"));
  }
}

}  // namespace
}  // namespace tabrel
