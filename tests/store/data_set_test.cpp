#include "store/data_set.h"

#include <gtest/gtest.h>

#include <tuple>

#include "base/text.h"
#include "fakes/contact_files.h"
#include "store/settings_record.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::WriteContacts;

constexpr char kStampA[] = "12-31-1999 45296.13";
constexpr char kStampB[] = "01-02-2000 .5";

class DataSetTest : public ::testing::Test, public testing::DataSetFolders {};

TEST_F(DataSetTest, LoadRecordByStampTakesTheFirstMatchAndWithoutOneChangesNothing) {
  const auto first = Contact("1", "Adams", "Ann", kStampB);
  WriteContacts(data,
                {Contact("1", "Other", "", kStampA), first, Contact("3", "Twin", "", kStampB)});
  state.editor_record.Modified = kStampB;  // shorter than 19: compared blank-padded
  EXPECT_TRUE(LoadRecordByStamp(state).value());
  EXPECT_EQ(state.current_record_number, 2);
  EXPECT_EQ(state.editor_record, DecodeContact(EncodeContact(first)));

  state.editor_record = Contact("2", "Editor copy", "", " 12-31-1999 45296.1");
  const ContactRecord before = state.editor_record;
  EXPECT_FALSE(LoadRecordByStamp(state).value());
  EXPECT_EQ(state.current_record_number, 2);
  EXPECT_EQ(state.editor_record, before);
}

TEST_F(DataSetTest, DeleteRemovesEveryRecordWithTheStampAndKeepsAPartialRecord) {
  const std::string original =
      ContactBytes({Contact("1", "A", "", kStampA), Contact("1", "B", "", kStampB),
                    Contact("1", "C", "", "c"), Contact("1", "D", "", kStampB)}) +
      "partial";
  data.Write("tabrel.dat", original);
  state.editor_record.Modified = std::string(kStampB) + "      ";
  // A file of an earlier version's name is none of this delete's business.
  data.Write("contact.tmp", original + original);
  ASSERT_TRUE(DeleteRecord(state).ok());
  EXPECT_EQ(data.Read("tabrel.dat"),
            ContactBytes({Contact("1", "A", "", kStampA), Contact("1", "C", "", "c")}) + "partial");
  EXPECT_EQ(data.Read("contact.tmp"), original + original);
}

// Settings at start-up.

std::string Le16(int value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

TEST_F(DataSetTest, FirstStartWritesTr30IniWithTheDefaultsAtTheirOffsets) {
  state.data_path = "/somewhere/else/";
  ASSERT_TRUE(LoadSettings(state).ok());
  const std::string blanks(440, ' ');
  // Reserved, preview lines, paths and reserved texts, print lines, zeroed
  // reserved bytes, reserved, comm port, phone codes, full-record flags,
  // margins, Quick Update and programs, mail format, reserved.
  EXPECT_EQ(program.Read("tr30.ini"), blanks.substr(0, 40) + Le16(250) + blanks.substr(0, 211) +
                                          Le16(60) + std::string(8, '\0') + blanks.substr(0, 40) +
                                          "1" + blanks.substr(0, 40) + "1111111" + "8 12" + blanks +
                                          "0" + blanks.substr(0, 25));
  EXPECT_EQ(state.settings, DefaultSettings());
  EXPECT_EQ(state.data_path, program.path());
}

TEST_F(DataSetTest, EmptyTr30IniGetsTheDefaultsAndAShortOrGarbageOneIsReadAsItIs) {
  // The bytes, then the preview and print line counts and the comm port read.
  const std::tuple<std::string, int, int, std::string> cases[] = {
      {"x", 250, 60, "1"},
      {std::string(40, '#') + Le16(99), 99, 60, "1"},
      {std::string(304, '\xFF'), -1, -1, "\xFF"},
  };
  for (const auto& [bytes, preview, print, port] : cases) {
    SCOPED_TRACE(bytes.size());
    program.Write("tr30.ini", bytes);
    ASSERT_TRUE(LoadSettings(state).ok());
    EXPECT_EQ(state.settings.PreviewLines, preview);
    EXPECT_EQ(state.settings.PrintLines, print);
    EXPECT_EQ(state.settings.CommPort, port);
    EXPECT_EQ(state.settings.LPad, "8 ");
    EXPECT_EQ(program.Read("tr30.ini"), bytes) << "reading must not rewrite the file";
  }
  program.Write("tr30.ini", "");
  ASSERT_TRUE(LoadSettings(state).ok());
  EXPECT_EQ(program.Read("tr30.ini"), EncodeSettings(DefaultSettings()));
}

}  // namespace
}  // namespace tabrel
