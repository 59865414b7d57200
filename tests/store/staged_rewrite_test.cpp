#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::TempDir;

constexpr RewriteStep kStagingSteps[] = {RewriteStep::kCreate, RewriteStep::kWrite,
                                         RewriteStep::kFlush, RewriteStep::kClose};

class StagedRewriteTest : public ::testing::Test {
 protected:
  TempDir dir;

  void SetUp() override {
    dir.Write("a.dat", "old a");
    dir.Write("b.dat", "old b, longer than the new one");
  }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                  std::filesystem::directory_iterator()));
  }
};

TEST_F(StagedRewriteTest, StagedFilesReplaceTheOldOnesOnlyWhenCommitted) {
  dir.Write("a.$$$", "a leftover from an earlier crash, longer than anything staged");
  StagedRewrite a;
  StagedRewrite b;
  ASSERT_TRUE(a.Stage(dir.File("a.dat"), "new a", "a.$$$").ok());
  ASSERT_TRUE(b.Stage(dir.File("b.dat"), "new b", "b.$$$").ok());
  EXPECT_EQ(dir.Read("a.dat"), "old a");
  EXPECT_EQ(dir.Read("b.dat"), "old b, longer than the new one");
  ASSERT_TRUE(a.Commit().ok());
  ASSERT_TRUE(b.Commit().ok());
  EXPECT_EQ(dir.Read("a.dat"), "new a");
  EXPECT_EQ(dir.Read("b.dat"), "new b");
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(StagedRewriteTest, FailureOfTheSecondStageLeavesBothOldFilesAndNoTemporaryFile) {
  for (RewriteStep failing : kStagingSteps) {
    SCOPED_TRACE(static_cast<int>(failing));
    {
      StagedRewrite a;
      StagedRewrite b;
      const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
      ASSERT_TRUE(a.Stage(dir.File("a.dat"), "new a", "a.$$$").ok());
      const Status status = b.Stage(dir.File("b.dat"), "new b", "b.$$$", fault);
      EXPECT_EQ(status.number(), error_number::kDeviceIo);
      EXPECT_NE(status.description().find("b.$$$"), std::string::npos) << status.description();
      EXPECT_FALSE(b.Commit().ok()) << "nothing staged to commit";
    }  // `a` is dropped uncommitted, as a caller does after the failure
    EXPECT_EQ(dir.Read("a.dat"), "old a");
    EXPECT_EQ(dir.Read("b.dat"), "old b, longer than the new one");
    EXPECT_EQ(FilesInFolder(), 2u);
  }
}

TEST_F(StagedRewriteTest, FailedRenameRemovesTheTemporaryFileAndKeepsTheOldOne) {
  StagedRewrite a;
  const RewriteFaultHook fault = [](RewriteStep step) { return step == RewriteStep::kRename; };
  ASSERT_TRUE(a.Stage(dir.File("a.dat"), "new a", "a.$$$", fault).ok());
  EXPECT_FALSE(a.Commit().ok());
  EXPECT_EQ(dir.Read("a.dat"), "old a");
  EXPECT_FALSE(dir.Exists("a.$$$"));
}

TEST_F(StagedRewriteTest, RewriteCreatesAMissingFileButNotAMissingFolder) {
  ASSERT_TRUE(AtomicRewrite(dir.File("new.dat"), "content", "new.$$$").ok());
  EXPECT_EQ(dir.Read("new.dat"), "content");
  const Status status = AtomicRewrite(dir.File("gone/new.dat"), "content", "new.$$$");
  EXPECT_EQ(status.number(), error_number::kPathNotFound);
  EXPECT_FALSE(dir.Exists("gone"));
}

// The folder a data set lives in.

TEST(DataFolderTest, CheckDataFolderAcceptsOnlyAnExistingWritableFolder) {
  TempDir dir;
  dir.Write("file", "x");
  EXPECT_TRUE(CheckDataFolder(dir.path()).ok());
  EXPECT_EQ(CheckDataFolder(dir.File("missing")).number(), error_number::kPathNotFound);
  EXPECT_EQ(CheckDataFolder(dir.File("file")).number(), error_number::kPathNotFound);
  EXPECT_FALSE(dir.Exists("missing"));
}

TEST(DataFolderTest, CheckDataFolderRefusesAFolderWithoutWritePermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  EXPECT_EQ(CheckDataFolder(dir.path()).number(), error_number::kPermissionDenied);
}

TEST(DataFolderTest, DataFileFindsANameInCapitalsOnlyWhenTheExactOneIsMissing) {
  TempDir dir;
  AppState state(dir.path());
  EXPECT_EQ(state.DataFile("tabrel.dat"), dir.File("tabrel.dat"));
  dir.Write("tabrel.dat.old", "");
  dir.Write("TABREL.DAT", "");
  dir.Write("Keyword.Dat", "");
  EXPECT_EQ(state.DataFile("tabrel.dat"), dir.File("TABREL.DAT"));
  EXPECT_EQ(state.DataFile("keyword.dat"), dir.File("Keyword.Dat"));
  EXPECT_EQ(state.DataFile("tabrel.bak"), dir.File("tabrel.bak"));
  // With the exact name present, no other spelling is taken, whatever order
  // the folder lists them in.
  dir.Write("tabrel.dat", "");
  dir.Write("keyword.dat", "");
  for (const char* other :
       {"Tabrel.dat", "tabrel.DAT", "TaBrEl.DaT", "KEYWORD.DAT", "keyword.DAT", "KeyWord.dat"}) {
    dir.Write(other, "");
  }
  EXPECT_EQ(state.DataFile("tabrel.dat"), dir.File("tabrel.dat"));
  EXPECT_EQ(state.DataFile("keyword.dat"), dir.File("keyword.dat"));
}

TEST(DataFolderTest, DataFileLooksInTheDataPathNotTheProgramFolder) {
  TempDir program;
  TempDir data;
  program.Write("TABREL.DAT", "");
  AppState state(program.path());
  state.data_path = data.path();
  EXPECT_EQ(state.DataFile("tabrel.dat"), data.File("tabrel.dat"));
}

}  // namespace
}  // namespace tabrel
