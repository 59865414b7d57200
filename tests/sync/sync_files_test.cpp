// The files a sync keeps beside the data set: the configuration, the
// stamp journal and the sync state.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/contact_files.h"
#include "store/stamp_journal.h"
#include "sync/card_text.h"
#include "sync/sync_config.h"
#include "sync/sync_state.h"

namespace tabrel {
namespace {

TEST(SyncConfig, IsMadeOwnerOnlyAndNeverHoldsThePassword) {
  testing::DataSetFolders folders;
  folders.data.Write(kSyncConfigName,
                     "# mine\nurl = https://dav.example/\nuser = anna\n"
                     "password-command = pass show \"dav/anna x\"\n");
  ::chmod(folders.data.File(kSyncConfigName).c_str(), 0644);
  auto config = SyncConfig::Read(folders.state);
  ASSERT_TRUE(config.ok()) << config.status().description();
  struct stat st {};
  ::stat(folders.data.File(kSyncConfigName).c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(SplitCommandWords(config.value().password_command),
            (std::vector<std::string>{"pass", "show", "dav/anna x"}));

  const struct {
    const char* text;
    const char* message;
  } kRefused[] = {
      {"password = hunter2\n",
       "a password does not belong in this file: name a password-command or secret-store = yes"},
      {"secret-store = yes\npassword-command = pass x\n",
       "name a password-command or secret-store = yes, not both"},
      {"url https://x/\n", "line 1 is not \"key = value\""},
      {"colour = red\n", "line 1 has an unknown key \"colour\""},
  };
  for (const auto& c : kRefused) {
    auto refused = SyncConfig::Parse(c.text, "carddav.ini");
    ASSERT_FALSE(refused.ok()) << c.text;
    EXPECT_EQ(refused.status().description(), std::string("carddav.ini: ") + c.message);
  }
}

TEST(SyncConfig, PlainHttpOnlyToTheLoopbackUnlessAllowed) {
  const struct {
    const char* url;
    bool allow;
    bool ok;
  } kCases[] = {{"http://127.0.0.1:5232/", false, true},
                {"http://localhost/", false, true},
                {"https://dav.example/", false, true},
                {"http://dav.example/", false, false},
                {"http://dav.example/", true, true}};
  for (const auto& c : kCases) {
    SyncConfig config;
    config.url = c.url;
    config.allow_plain_http = c.allow;
    EXPECT_EQ(config.CheckUrl().ok(), c.ok) << c.url;
  }
}

TEST(SyncConfig, PasswordCommandRunsWithoutAShell) {
  auto password = RunPasswordCommand("/usr/bin/printf '%s\\nsecond' 'a b;$HOME'");
  ASSERT_TRUE(password.ok()) << password.status().description();
  EXPECT_EQ(password.value(), "a b;$HOME");
  EXPECT_EQ(RunPasswordCommand("/bin/false").status().description(),
            "The password command \"/bin/false\" failed");
}

TEST(StampJournal, FollowsChainsAndIgnoresChangesThatNeverLanded) {
  // b -> x was noted but its write failed; the retry b -> c landed.
  const StampJournal journal =
      StampJournal::Parse("a -> b\nb -> x\nb -> c\nd -> deleted\ne -> f\ncut -> g");
  const auto exists = [](const std::string& s) {
    return s == "c" || s == "f" || s == "d" || s == "z";
  };
  EXPECT_EQ(journal.Resolve("a", exists), "c");
  EXPECT_EQ(journal.Resolve("z", exists), "z");
  EXPECT_EQ(journal.Resolve("e", exists), "f");
  EXPECT_EQ(journal.Resolve("cut", exists), "");
  EXPECT_EQ(journal.Resolve("q", exists), "");
}

TEST(SyncState, KeepsEveryCardByteForByte) {
  SyncState state;
  state.collection = "https://dav.example/book/";
  state.token = "tok 1";
  state.cards = {{"/book/a.vcf", "\"1\"", "urn:uuid:a", "03-01-2024 1000", 0xdeadbeefull,
                  "BEGIN:VCARD\r\ncard\ncard line 2\n\nEND:VCARD\r\n"},
                 {"/book/b.vcf", "", "", "", 0, ""}};
  auto back = SyncState::Parse(state.Serialise(), "s");
  ASSERT_TRUE(back.ok()) << back.status().description();
  EXPECT_EQ(back.value().Serialise(), state.Serialise());
  EXPECT_EQ(back.value().cards[0].text, state.cards[0].text);
  std::string cut = state.Serialise();
  cut.resize(cut.size() - 30);
  EXPECT_EQ(SyncState::Parse(cut, "s").status().description(),
            "The sync state s is damaged (a card's length or checksum); move it away to sync "
            "afresh, nothing is lost");
}

// A new card's resource name holds nothing a path would read otherwise; a
// changed value replaces its folded lines in the card as the server has it.
TEST(CardText, ANewCardIsNamedPlainlyAndAChangedFoldedValueGoesWhole) {
  EXPECT_EQ(HrefForUid("urn:uuid:1b4e28ba-2fa1-11d2-883f"), "1b4e28ba-2fa1-11d2-883f.vcf");
  EXPECT_EQ(HrefForUid("a/b c?d%e.f"), "a-b-c-d-e-f.vcf");
  const std::string stored =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Jo\r\nTITLE:Engin\r\n eer\r\nEND:VCARD\r\n";
  ContactRecord record = DecodeContact(ReadServerCard(stored).record);
  record.Title = "Boss";
  const std::string card = CardForRecord(EncodeContact(record), stored, VcardVersion::k30);
  EXPECT_EQ(card.find("eer"), std::string::npos) << card;
}

}  // namespace
}  // namespace tabrel
