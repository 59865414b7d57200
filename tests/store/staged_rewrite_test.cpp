#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fakes/contact_files.h"
#include "store/atomic_file.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::TempDir;

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}
std::size_t FilesIn(const TempDir& dir) {
  return FilesIn(dir.path());
}

TEST(StagedRewriteTest, FailureOfTheSecondStageLeavesBothOldFilesAndNoTemporaryFile) {
  TempDir dir;
  dir.Write("a.dat", "old a");
  dir.Write("b.dat", "old b");
  const std::size_t open_files = FilesIn("/proc/self/fd");
  for (RewriteStep failing :
       {RewriteStep::kCreate, RewriteStep::kWrite, RewriteStep::kFlush, RewriteStep::kClose}) {
    SCOPED_TRACE(static_cast<int>(failing));
    {
      StagedRewrite a;
      StagedRewrite b;
      const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
      ASSERT_TRUE(a.Stage(dir.File("a.dat"), "new a", "a.$$$").ok());
      const Status status = b.Stage(dir.File("b.dat"), "new b", "b.$$$", fault);
      EXPECT_EQ(status.number(), error_number::kDeviceIo);
      EXPECT_NE(status.description().find("b.$$$"), std::string::npos) << status.description();
    }  // `a` is dropped uncommitted, as a caller does after the failure
    EXPECT_EQ(dir.Read("a.dat"), "old a");
    EXPECT_EQ(dir.Read("b.dat"), "old b");
    EXPECT_EQ(FilesIn(dir), 2u);
  }
  EXPECT_EQ(FilesIn("/proc/self/fd"), open_files) << "every failed step closes its file";
  EXPECT_EQ(AtomicRewrite(dir.File("gone/a.dat"), "new", "a.$$$").ErrorLine(),
            "Error 76: Path not found (" + dir.File("gone/a.$$$") + ": No such file or directory)");
}

TEST(DataFolderTest, CheckDataFolderAcceptsOnlyAnExistingWritableFolder) {
  TempDir dir;
  dir.Write("file", "x");
  EXPECT_TRUE(CheckDataFolder(dir.path()).ok());
  EXPECT_EQ(CheckDataFolder(dir.File("missing")).number(), error_number::kPathNotFound);
  EXPECT_EQ(CheckDataFolder(dir.File("file")).number(), error_number::kPathNotFound);
  EXPECT_FALSE(dir.Exists("missing"));
}

TEST(DataFolderTest, CheckDataFolderRefusesAFolderItCannotWrite) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  EXPECT_EQ(CheckDataFolder(dir.path()).number(), error_number::kPermissionDenied);
}

TEST(DataFolderTest, DataFileTakesANameInCapitalsOnlyWhenTheExactOneIsMissing) {
  testing::DataSetFolders folders;
  const auto& [program, data, state] = folders;
  program.Write("TABREL.DAT", "");
  EXPECT_EQ(state.DataFile("tabrel.dat"), data.File("tabrel.dat")) << "not the program folder";
  data.Write("tabrel.dat.old", "");
  data.Write("TABREL.DAT", "");
  EXPECT_EQ(state.DataFile("tabrel.dat"), data.File("TABREL.DAT"));
  // With the exact name there, no other spelling is taken, in whatever order
  // the folder lists them.
  for (const char* name :
       {"tabrel.dat", "Tabrel.dat", "keyword.dat", "KEYWORD.DAT", "Keyword.Dat", "keyword.DAT"}) {
    data.Write(name, "");
  }
  EXPECT_EQ(state.DataFile("tabrel.dat"), data.File("tabrel.dat"));
  EXPECT_EQ(state.DataFile("keyword.dat"), data.File("keyword.dat"));
}

}  // namespace
}  // namespace tabrel
