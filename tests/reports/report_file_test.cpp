#include "reports/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

TEST(ReportFileTest, AWriteReplacesTheFileAndAFailedStepLeavesNoFileAndSaysWhy) {
  TempDir dir;
  const std::string path = dir.File("tr_view.tmp");
  dir.Write("tr_view.tmp", "an older and longer list");
  ASSERT_TRUE(WriteReportFile(path, "new").ok());
  EXPECT_EQ(dir.Read("tr_view.tmp"), "new");
  for (RewriteStep step : {RewriteStep::kCreate, RewriteStep::kWrite, RewriteStep::kClose}) {
    SCOPED_TRACE(static_cast<int>(step));
    const RewriteFaultHook fault = [step](RewriteStep at) { return at == step; };
    EXPECT_EQ(WriteReportFile(path, "newer", &fault).ErrorLine(),
              "Error 57: Device I/O error (" + path + ": Input/output error)");
    EXPECT_FALSE(ReportFileExists(path));
  }
}

TEST(ReportFileTest, AMissingReportIsAnErrorAndIsNotCreated) {
  TempDir dir;
  const std::string path = dir.File("tr_view.tmp");
  EXPECT_EQ(ReadReportFile(path).status().number(), error_number::kPathNotFound);
  EXPECT_FALSE(ReportFileExists(path));
  EXPECT_TRUE(RemoveReportFile(path).ok()) << "a missing file is no failure";
  dir.Write("tr_view.tmp", "list\r\n");
  EXPECT_EQ(ReadReportFile(path).value(), "list\r\n");
  ASSERT_TRUE(RemoveReportFile(path).ok());
  EXPECT_FALSE(ReportFileExists(path));
}

TEST(ReportFileTest, AMoveNeverOverwritesButACopyDoes) {
  TempDir dir;
  dir.Write("tr_view.tmp", "list");
  dir.Write("taken.txt", "keep");
  const Status taken = MoveReportFile(dir.File("tr_view.tmp"), dir.File("taken.txt"));
  EXPECT_EQ(taken.ErrorLine(), "Error 58: File already exists (" + dir.File("taken.txt") + ")");
  EXPECT_EQ(dir.Read("taken.txt"), "keep");
  ASSERT_TRUE(CopyReportFile(dir.File("tr_view.tmp"), dir.File("taken.txt")).ok());
  EXPECT_EQ(dir.Read("taken.txt"), "list");
  ASSERT_TRUE(MoveReportFile(dir.File("tr_view.tmp"), dir.File("moved.txt")).ok());
  EXPECT_EQ(dir.Read("moved.txt"), "list");
  EXPECT_FALSE(dir.Exists("tr_view.tmp"));
  EXPECT_EQ(CopyReportFile(dir.File("tr_view.tmp"), dir.File("x")).number(),
            error_number::kPathNotFound);
}

TEST(ReportFileTest, AMoveToAnotherFileSystemCopiesAndStillNeverOverwrites) {
  TempDir dir;
  TempDir other("/dev/shm");
  struct stat here {};
  struct stat there {};
  if (other.path() == "/" || ::stat(dir.path().c_str(), &here) != 0 ||
      ::stat(other.path().c_str(), &there) != 0 || here.st_dev == there.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  dir.Write("tr_view.tmp", "list");
  other.Write("taken.txt", "keep");
  EXPECT_EQ(MoveReportFile(dir.File("tr_view.tmp"), other.File("taken.txt")).ErrorLine(),
            "Error 58: File already exists (" + other.File("taken.txt") + ")");
  ASSERT_TRUE(MoveReportFile(dir.File("tr_view.tmp"), other.File("list.txt")).ok());
  EXPECT_EQ(other.Read("list.txt"), "list");
  EXPECT_FALSE(dir.Exists("tr_view.tmp"));
}

TEST(ReportFileTest, LinesEndAtCrLfOrALoneCrButALoneLineFeedBelongsToTheLine) {
  const struct {
    std::string_view text;
    std::vector<std::string_view> lines;
  } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb\r\n\r\nc", {"a\nb", "", "c"}},
      {"\r\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    std::string_view text = c.text;
    std::string_view line;
    std::vector<std::string_view> lines;
    while (NextReportLine(text, line)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << c.text;
  }
}

}  // namespace
}  // namespace tabrel
