// tabrel-cli check [--repair]: what it finds in a data set, what it
// repairs, and that a reading command never shows half a change.
#include <gtest/gtest.h>

#include <fstream>

#include "fakes/cli_runner.h"
#include "fakes/contact_files.h"
#include "fakes/golden.h"
#include "store/atomic_file.h"
#include "store/commit_record.h"

namespace tabrel {
namespace {

using testing::CliOutcome;
using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;

class CheckTest : public ::testing::Test, public testing::CliRunner {
 protected:
  void SetUp() override {
    auto golfer = Contact("1", "Baker", "Ann", "01-01-2000 1");
    golfer.KW1 = "Golf";
    records = ContactBytes({golfer, Contact("2", "Acme", "", "01-01-2000 2")});
    Write("tabrel.dat", records);
    Write("keyword.dat", Keyword("Golf"));
  }
  std::string Data(const std::string& name) const { return ProgramFolder() + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Data(name), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(const std::string& name) const { return testing::ReadBytes(Data(name)); }
  // A pair change whose second rename and the undo of the first failed,
  // as a crash between the two renames leaves it.
  void LeaveHalfAChange() const {
    StagedRewrite contacts;
    StagedRewrite keywords;
    int renames = 0;
    const RewriteFaultHook fault = [&](RewriteStep step) {
      return step == RewriteStep::kRename && ++renames > 1;
    };
    ASSERT_TRUE(contacts.Stage(Data("tabrel.dat"), "new records", fault).ok());
    ASSERT_TRUE(keywords.Stage(Data("keyword.dat"), "new keywords", fault).ok());
    StagedRewrite* const both[] = {&contacts, &keywords};
    ASSERT_EQ(GroupCommit::Run(both).left_new.size(), 1u);
  }

  std::string records;
};

TEST_F(CheckTest, ASoundDataSetPassesAndEachFaultIsNamed) {
  const CliOutcome sound = Cli({"check"});
  EXPECT_EQ(sound.code, 0) << sound.err;
  EXPECT_EQ(sound.out, "The data set in " + ProgramFolder() + " is sound.\n");

  auto stranger = Contact("1", "Cole", "Cid", "01-01-2000 1");
  stranger.KW2 = "Chess";
  const struct {
    const char* file;
    std::string bytes;
    std::string found;
  } cases[] = {
      {"tabrel.dat", records + "cut",
       "tabrel.dat: its last record is cut short (3 of 1047 bytes)."},
      {"tabrel.dat", records + ContactBytes({stranger}),
       "tabrel.dat, record 3: its stamp \"01-01-2000 1\" is also record 1's."},
      {"tabrel.dat", records + ContactBytes({stranger}),
       "tabrel.dat, record 3: its keyword \"Chess\" is not in " + Data("keyword.dat") + "."},
      {"tabrel.bak", ContactBytes({stranger}),
       "tabrel.bak, record 1: its keyword \"Chess\" is not in " + Data("keyword.bak") + "."},
      {"tabrel.dat.new-Ab12Cd", "left",
       "tabrel.dat.new-Ab12Cd is left over from a change that did not finish."},
  };
  for (const auto& c : cases) {
    SetUp();
    Write(c.file, c.bytes);
    const CliOutcome found = Cli({"check"});
    EXPECT_EQ(found.code, 1) << c.found;
    EXPECT_NE(found.out.find(c.found), std::string::npos) << found.out;
    std::filesystem::remove(Data("tabrel.bak"));
  }
  const CliOutcome repaired = Cli({"check", "--repair"});
  EXPECT_EQ(repaired.out, "1 left-over temporary files were removed.\nThe data set in " +
                              ProgramFolder() + " is sound.\n");
  EXPECT_EQ(repaired.code, 0);
}

TEST_F(CheckTest, HalfAChangeIsRefusedByReadersAndUndoneByTheRepair) {
  LeaveHalfAChange();
  const std::string needs_repair = "The data set in " + ProgramFolder() + " needs repair: ";
  const CliOutcome list = Cli({"list"});
  EXPECT_EQ(list.code, 1);
  EXPECT_EQ(list.out, "");
  EXPECT_NE(list.err.find(needs_repair + "a change to it was cut short."), std::string::npos)
      << list.err;
  const CliOutcome check = Cli({"check"});
  EXPECT_EQ(check.code, 1);
  EXPECT_NE(check.out.find(needs_repair), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("tabrel.dat.old-"), std::string::npos) << "the old copy is named";

  const CliOutcome repair = Cli({"check", "--repair"});
  EXPECT_EQ(repair.code, 0) << repair.out;
  EXPECT_EQ(repair.out, "An interrupted change was undone.\nThe data set in " + ProgramFolder() +
                            " is sound.\n");
  EXPECT_EQ(Read("tabrel.dat"), records);
  EXPECT_EQ(Read("keyword.dat"), Keyword("Golf"));
  EXPECT_FALSE(std::filesystem::exists(Data(kCommitFileName)));
}

}  // namespace
}  // namespace tabrel
