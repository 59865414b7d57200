// The Agent address book file: reading entries and writing records.
#include "exchange/formats/agent_format.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

struct Entry {
  std::string name, address, comments;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> ReadAll(std::string_view text) {
  AgentReader reader(text);
  std::vector<Entry> out;
  for (AgentEntry e; reader.Next(e);) out.push_back({e.name, e.address, e.comments});
  return out;
}

TEST(AgentReaderTest, ReadsEntriesAsAgentAndOlderInstallationsWriteThem) {
  const std::pair<std::string, std::vector<Entry>> cases[] = {
      {"Name: Ann Adams\r\nAddresses: \"Ann Adams\"<ann@a.org>\r\nComments: likes tea\r\n"
       "Field-Text: \r\n\r\n",
       {{"Ann Adams", "ann@a.org", "likes tea"}}},
      // No "<": the value when it holds "@"; ">" before "<": no pair.
      {"Name: B\nAddresses: b@b.org \nField-Text:\nName: C\nAddresses: >x< c\nField-Text:\n",
       {{"B", "b@b.org", ""}, {"C", "", ""}}},
      // The last "<" and the ">" after it.
      {"Name: D\nAddresses: \"D\"<old@d>, \"D\"<new@d>\nField-Text:\n", {{"D", "new@d", ""}}},
      // Entries without "Field-Text:" end at the next "Name:" or the end;
      // missing lines leave their fields empty, never the entry before's.
      {"Name: E\nAddresses: <e@e>\nComments: one\nName: F\nComments: two",
       {{"E", "e@e", "one"}, {"F", "", "two"}}},
      // A comment that reads "Name:" is a comment.
      {"Name: G\nComments: Name: not an entry\nField-Text:\n", {{"G", "", "Name: not an entry"}}},
      {"Name:\nField-Text:\n", {{"", "", ""}}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ReadAll(text), expected) << text;
  }
}

TEST(AgentReaderTest, AFileIsValidWhenItsFirstLineIsAName) {
  EXPECT_TRUE(AgentReader("\r\n\r\nName: A\r\n").LooksValid());
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
  // And back: one entry, the note whole.
  EXPECT_EQ(ReadAll(out), (std::vector<Entry>{{"Ann Adams", "ann@a.org", "Name: tricky second"}}));

  out.clear();
  AppendAgentEntry(EncodeContact(BlankContactRecord()), out);
  EXPECT_EQ(out, "Name:  \r\nAddresses: \" \"<>\r\nComments: \r\nField-Text: \r\n\r\n");
}

}  // namespace
}  // namespace tabrel
