#include "store/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "fakes/case_file.h"
#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

using ProgramFolderPathTest = testing::FileCaseTest;

TEST_P(ProgramFolderPathTest, FollowsAnAbsoluteXdgDataHomeElseTheHomeFolder) {
  const testing::FileCase& c = GetParam();
  const std::string xdg = c.Get("xdg", ""), home = c.Get("home", "");
  const Result<std::string> folder = ProgramFolderPath(c.Has("xdg") ? xdg.c_str() : nullptr,
                                                       c.Has("home") ? home.c_str() : nullptr);
  if (c.Has("fails")) {
    EXPECT_EQ(folder.status().number(), error_number::kPathNotFound);
    EXPECT_NE(folder.status().description().find("XDG_DATA_HOME"), std::string::npos);
  } else {
    ASSERT_TRUE(folder.ok()) << folder.status().description();
    EXPECT_EQ(folder.value(), c.Get("folder"));
  }
}

TABREL_FILE_CASES(Variables, ProgramFolderPathTest, "store", "program_folder.cases");

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

TEST(ProgramFolderTest, MakeCreatesEveryMissingFolderForTheOwnerOnly) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string folder = dir.File("share/tabrel/");
  ASSERT_TRUE(MakeProgramFolder(folder).ok());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ModeOf(dir.File("share")), 0700u);
  EXPECT_EQ(ModeOf(folder), 0700u);
  EXPECT_EQ(ModeOf(dir.path()), 0755u) << "an existing folder keeps its mode";
  EXPECT_TRUE(MakeProgramFolder(folder).ok()) << "a second start finds it";
}

TEST(ProgramFolderTest, MakeFailsWhereAFileStandsInTheWay) {
  TempDir dir;
  dir.Write("share", "not a folder");
  for (const std::string& folder : {dir.File("share"), dir.File("share/tabrel/")}) {
    const Status status = MakeProgramFolder(folder);
    EXPECT_EQ(status.number(), error_number::kPathNotFound) << folder;
    EXPECT_NE(status.description().find(dir.File("share")), std::string::npos)
        << status.description();
  }
  EXPECT_EQ(dir.Read("share"), "not a folder");
}

}  // namespace
}  // namespace tabrel
