#include "store/data_set_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

// Another process that takes the lock file's lock with plain system calls
// (nothing else is safe in a child of a process with threads), tells the
// parent, and holds it until killed.
class OtherProcess {
 public:
  explicit OtherProcess(const std::string& lock_path) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT, 0666);
      const char answer = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
      [[maybe_unused]] const ssize_t n = ::write(ready[1], &answer, 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char answer = 'n';
    got_lock_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
  }
  ~OtherProcess() { Kill(); }
  bool got_lock() const { return got_lock_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool got_lock_ = false;
};

TEST(DataSetLockTest, AnotherProcessHoldsTheLockUntilItDiesAndNoLonger) {
  TempDir dir;
  {
    DataSetLock mine = DataSetLock::Acquire(dir.path());
    ASSERT_TRUE(mine.held());
    OtherProcess other(dir.File(kLockFileName));
    EXPECT_FALSE(other.got_lock()) << "another process took a data set this one holds";
  }
  OtherProcess other(dir.File(kLockFileName));
  ASSERT_TRUE(other.got_lock());
  const DataSetLock refused = DataSetLock::Acquire(dir.path());
  EXPECT_TRUE(refused.held_elsewhere());
  EXPECT_EQ(refused.status().ErrorLine(),
            "Error 70: The data set in " + dir.path() + " is open in another copy of Tabrel.");
  other.Kill();  // a crash: nobody releases the lock by hand
  EXPECT_TRUE(DataSetLock::Acquire(dir.path()).held());
}

TEST(DataSetLockTest, LeftoversAreClearedOnlyByTheCopyThatGetsTheLock) {
  TempDir dir;
  dir.Write("tabrel.dat.new-Ab12Cd", "left by a crash");
  {
    OtherProcess other(dir.File(kLockFileName));
    ASSERT_TRUE(other.got_lock());
    EXPECT_FALSE(DataSetLock::Acquire(dir.path()).held());
    EXPECT_TRUE(dir.Exists("tabrel.dat.new-Ab12Cd"));
  }
  EXPECT_TRUE(DataSetLock::Acquire(dir.path()).held());
  EXPECT_FALSE(dir.Exists("tabrel.dat.new-Ab12Cd"));
  EXPECT_TRUE(dir.Exists(kLockFileName)) << "the lock file stays for the next copy";
}

}  // namespace
}  // namespace tabrel
