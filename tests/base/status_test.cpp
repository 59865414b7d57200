#include "base/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tabrel {
namespace {

TEST(StatusTest, EachSystemErrorGetsTheProgramsNumberAndNamesWhatFailed) {
  const struct {
    int err;
    const char* line;
  } cases[] = {
      {ENOENT, "Error 76: Path not found (/d/f: No such file or directory)"},
      {ENOTDIR, "Error 76: Path not found (/d/f: Not a directory)"},
      {EACCES, "Error 70: Permission denied (/d/f: Permission denied)"},
      {EPERM, "Error 70: Permission denied (/d/f: Operation not permitted)"},
      {EROFS, "Error 70: Permission denied (/d/f: Read-only file system)"},
      {ENOSPC, "Error 61: Disk full (/d/f: No space left on device)"},
      {EDQUOT, "Error 61: Disk full (/d/f: Disk quota exceeded)"},
      {EIO, "Error 57: Device I/O error (/d/f: Input/output error)"},
      {EISDIR, "Error 75: Path/File access error (/d/f: Is a directory)"},
  };
  for (const auto& c : cases) {
    const Status status = Status::FromErrno(c.err, "/d/f");
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.ErrorLine(), c.line);
  }
  EXPECT_EQ(Status::FromErrno(ENOSPC, "").ErrorLine(), "Error 61: Disk full");
  EXPECT_TRUE(Status::Ok().ok());
  EXPECT_EQ(Status::Error(6, "Overflow").ErrorLine(), "Error 6: Overflow");
}

}  // namespace
}  // namespace tabrel
