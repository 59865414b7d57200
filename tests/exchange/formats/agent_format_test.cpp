// The Agent address book file: reading entries and writing records.
#include "exchange/formats/agent_format.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fakes/case_file.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

using AgentFileTest = testing::FileCaseTest;

TEST_P(AgentFileTest, ReadsEntriesAsAgentAndOlderInstallationsWriteThem) {
  const std::string text = GetParam().Get("text");
  AgentReader reader(text);
  std::vector<std::string> entries;
  for (AgentEntry e; reader.Next(e);)
    entries.push_back(e.name + "|" + e.address + "|" + e.comments);
  EXPECT_EQ(entries, GetParam().All("entry"));
}

TABREL_FILE_CASES(Files, AgentFileTest, "formats", "agent_reader.cases");

TEST(AgentReaderTest, AFileIsValidWhenItsFirstLineIsAName) {
  EXPECT_TRUE(AgentReader("Name: A\r\n").LooksValid());
  EXPECT_FALSE(AgentReader("\r\nName: A\r\n").LooksValid());  // the very first line
  EXPECT_FALSE(AgentReader("First Name,Last Name\r\n").LooksValid());
  EXPECT_FALSE(AgentReader("").LooksValid());
}

TEST(AgentContactTest, SplitsTheNameAtItsFirstBlank) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"Ann Mary Adams", "Ann", "Mary Adams"},
      {"Cher", "Cher", ""},
      {"", "", ""},
  };
  for (const auto& [name, first, last] : cases) {
    RecordBuilder out;
    ContactFromAgent({name, "a@b", "note"}, out);
    EXPECT_EQ(out.Get(RecordField::kFirstName), first);
    EXPECT_EQ(out.Get(RecordField::kLastName), last);
    EXPECT_EQ(out.Get(RecordField::kEMail), "a@b");
    EXPECT_EQ(out.Get(RecordField::kNotes), "note");
  }
}

TEST(AgentWriterTest, WritesFiveLinesWithTheNotesOnOne) {
  ContactRecord record = BlankContactRecord();
  record.FirstName = "Ann";
  record.LastName = "Adams";
  record.EMail = "ann@a.org";
  record.Notes = "Name: tricky\r\nsecond";
  std::string out;
  AppendAgentEntry(EncodeContact(record), out);
  EXPECT_EQ(out,
            "Name: Ann Adams\r\nAddresses: \"Ann Adams\"<ann@a.org>\r\n"
            "Comments: Name: tricky second\r\nField-Text: \r\n\r\n");

  out.clear();
  AppendAgentEntry(EncodeContact(BlankContactRecord()), out);
  EXPECT_EQ(out, "Name:  \r\nAddresses: \" \"<>\r\nComments: \r\nField-Text: \r\n\r\n");
}

}  // namespace
}  // namespace tabrel
