#include "store/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

TEST(ProgramFolderTest, FollowsAnAbsoluteXdgDataHomeElseTheHomeFolder) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/data", "/home/ann", "/data/tabrel/"},
      {"/data/", "/home/ann", "/data/tabrel/"},
      {"/data//", nullptr, "/data/tabrel/"},
      {nullptr, "/home/ann", "/home/ann/.local/share/tabrel/"},
      {"", "/home/ann", "/home/ann/.local/share/tabrel/"},
      {"data", "/home/ann", "/home/ann/.local/share/tabrel/"},
      {"./data", "/home/ann/", "/home/ann/.local/share/tabrel/"},
      {"~/data", "/home/ann", "/home/ann/.local/share/tabrel/"},
      {nullptr, "/", "/.local/share/tabrel/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " " + (c.home ? c.home : "(unset)"));
    const Result<std::string> folder = ProgramFolderPath(c.xdg, c.home);
    ASSERT_TRUE(folder.ok()) << folder.status().description();
    EXPECT_EQ(folder.value(), c.expected);
  }
}

TEST(ProgramFolderTest, FailsWithoutAnAbsoluteFolderToStartFrom) {
  for (const char* home : {static_cast<const char*>(nullptr), "", "ann"}) {
    const Result<std::string> folder = ProgramFolderPath("relative", home);
    EXPECT_EQ(folder.status().number(), error_number::kPathNotFound);
    EXPECT_NE(folder.status().description().find("XDG_DATA_HOME"), std::string::npos);
  }
}

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
