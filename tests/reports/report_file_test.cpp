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

}  // namespace
}  // namespace tabrel
