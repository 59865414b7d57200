#include "store/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "fakes/contact_files.h"
#include "store/commit_record.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::TempDir;

std::set<std::string> FilesIn(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(AtomicFileTest, TwoRewritesOfOneFileAtOnceUseTheirOwnTemporaryFiles) {
  TempDir dir;
  dir.Write("tabrel.dat", "old");
  StagedRewrite first;
  StagedRewrite second;
  ASSERT_TRUE(first.Stage(dir.File("tabrel.dat"), "first, and longer").ok());
  ASSERT_TRUE(second.Stage(dir.File("tabrel.dat"), "second").ok());
  EXPECT_EQ(FilesIn(dir).size(), 3u);
  ASSERT_TRUE(first.Commit().ok());
  EXPECT_EQ(dir.Read("tabrel.dat"), "first, and longer");
  ASSERT_TRUE(second.Commit().ok());
  EXPECT_EQ(dir.Read("tabrel.dat"), "second");
  EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"tabrel.dat"}));
}

TEST(AtomicFileTest, ARewriteKeepsPermissionsOwnerAndSymbolicLink) {
  TempDir dir;
  TempDir synced;
  synced.Write("tabrel.dat", "old");
  ASSERT_EQ(::chmod(synced.File("tabrel.dat").c_str(), 0600), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(synced.File("tabrel.dat").c_str(), 1234, 2345), 0);
  }
  ASSERT_EQ(::symlink(synced.File("tabrel.dat").c_str(), dir.File("tabrel.dat").c_str()), 0);
  // A relative link, one hop further.
  ASSERT_EQ(::symlink("tabrel.dat", dir.File("link.dat").c_str()), 0);

  ASSERT_TRUE(AtomicRewrite(dir.File("link.dat"), "new").ok());
  EXPECT_TRUE(S_ISLNK(StatOf(dir.File("link.dat")).st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(dir.File("tabrel.dat")).st_mode));
  EXPECT_EQ(synced.Read("tabrel.dat"), "new");
  const struct stat st = StatOf(synced.File("tabrel.dat"));
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  if (root) {
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 2345u);
  }
  EXPECT_EQ(FilesIn(synced), (std::set<std::string>{"tabrel.dat"}));
}

TEST(AtomicFileTest, OnlyLeftoversNobodyHoldsAreRemoved) {
  TempDir dir;
  for (const char* name :
       {"tabrel.dat.new-Ab12Cd", "keyword.dat.new-000000", "tabrel.dat.old-Ab12Cd", "tabrel.$$$",
        "keyword.$$$", "contact.tmp", "tr30.$$$"}) {
    dir.Write(name, "left by a crash");
  }
  const std::set<std::string> kept = {
      "tabrel.dat",           "tabrel.dat.new-toolong", "tabrel.dat.new-A_b12C",
      "tabrel.dat.old-Ab12C", "notes.new-Ab12C",        "tabrel.tmp"};
  for (const std::string& name : kept) dir.Write(name, "keep");
  StagedRewrite busy;  // a rewrite under way in another copy of the program
  ASSERT_TRUE(busy.Stage(dir.File("notes.dat"), "being written").ok());

  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 7);
  std::set<std::string> expected = kept;
  std::set<std::string> now = FilesIn(dir);
  EXPECT_EQ(now.size(), expected.size() + 1);
  for (const std::string& name : expected) EXPECT_TRUE(now.contains(name)) << name;
  ASSERT_TRUE(busy.Commit().ok());
  EXPECT_EQ(dir.Read("notes.dat"), "being written");
}

// A part written ahead and the rest written around it make one file, and
// the group commit names its true checksum: a commit killed before its
// renames is completed, not undone, at the next open.
TEST(AtomicFileTest, APartWrittenAheadIsCommittedWithTheRestAndItsChecksum) {
  TempDir dir;
  dir.Write("tabrel.dat", "old");
  dir.Write("keyword.dat", "old");
  const pid_t child = ::fork();
  if (child == 0) {
    StagedRewrite records;
    StagedRewrite keywords;
    const auto die_at_rename = [](RewriteStep step) {
      if (step == RewriteStep::kRename) ::_exit(0);
      return false;
    };
    bool staged = records.Begin(dir.File("tabrel.dat"), die_at_rename).ok() &&
                  records.WriteAhead(5, "ahead one|").ok() &&
                  records.WriteAhead(15, "ahead two|").ok() &&
                  records
                      .Stage(dir.File("tabrel.dat"),
                             [](RewriteSink& sink) {
                               Status s = sink.Write("head|");
                               if (s.ok()) s = sink.Skip(20);
                               return s.ok() ? sink.Write("rest") : s;
                             })
                      .ok() &&
                  keywords.Stage(dir.File("keyword.dat"), "new").ok();
    if (staged) {
      StagedRewrite* both[] = {&records, &keywords};
      GroupCommit::Run(both);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the commit did not get to renaming";
  EXPECT_EQ(RecoverInterruptedCommit(dir.path()).done, Recovery::kCompleted);
  EXPECT_EQ(dir.Read("tabrel.dat"), "head|ahead one|ahead two|rest");
  EXPECT_EQ(dir.Read("keyword.dat"), "new");
}

// What was written ahead is passed over exactly, or the rewrite fails; and
// a rewrite begun but not staged cannot be committed. Either way the old
// file stays and nothing is left.
TEST(AtomicFileTest, ARewriteBegunIsCommittedOnlyWhenStagedAroundWhatWasWrittenAhead) {
  const struct {
    const char* name;
    std::uint64_t skip;  // what the writer passes over; none when 0
    bool stage;
  } cases[] = {
      {"skips too little", 3, true},
      {"skips too much", 5, true},
      {"overwrites it", 0, true},
      {"not staged", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("tabrel.dat", "old");
    StagedRewrite rewrite;
    ASSERT_TRUE(rewrite.Begin(dir.File("tabrel.dat")).ok());
    ASSERT_TRUE(rewrite.WriteAhead(2, "ahea").ok());
    Status s = Status::Ok();
    if (c.stage) {
      s = rewrite.Stage(dir.File("tabrel.dat"), [&](RewriteSink& sink) {
        Status w = sink.Write("he");
        if (w.ok() && c.skip > 0) w = sink.Skip(c.skip);
        return w.ok() ? sink.Write(c.skip > 0 ? "d" : "headed") : w;
      });
    }
    if (s.ok()) s = rewrite.Commit();
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(dir.Read("tabrel.dat"), "old");
    EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"tabrel.dat"}));
  }
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

// The commit record's checksums are CRC-32C, so other tools can check a
// file against it; the sums chain over pieces as files are read in chunks.
TEST(CommitChecksumTest, KnownAnswersAndChaining) {
  EXPECT_EQ(Crc32c(0, "123456789"), 0xE3069283u);
  EXPECT_EQ(Crc32c(0, std::string(32, '\0')), 0x8A9136AAu);
  EXPECT_EQ(Crc32c(0, std::string(32, '\xFF')), 0x62A8AB43u);
  EXPECT_EQ(Crc32c(Crc32c(0, "1234"), "56789"), 0xE3069283u);
  // A file of megabytes is summed in blocks side by side: the same sum as
  // pieces too short for that, whatever the length.
  std::string big(3 * 3 * 4096 + 4100, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + i / 7);
  for (std::size_t length :
       {std::size_t{3 * 4096 - 1}, std::size_t{3 * 4096}, std::size_t{3 * 4096 + 9}, big.size()}) {
    std::uint32_t pieces = 0;
    for (std::size_t at = 0; at < length; at += 1000) {
      pieces = Crc32c(pieces,
                      std::string_view(big).substr(at, std::min<std::size_t>(1000, length - at)));
    }
    EXPECT_EQ(Crc32c(0, std::string_view(big).substr(0, length)), pieces) << length;
  }
  // Or of two parts summed apart, the second written ahead of the first.
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{4097}, big.size()}) {
    const std::string_view whole(big);
    EXPECT_EQ(Crc32cCombine(Crc32c(0, whole.substr(0, cut)), Crc32c(0, whole.substr(cut)),
                            whole.size() - cut),
              Crc32c(0, whole))
        << cut;
  }
  // What cannot be read is an error, not a sum.
  testing::TempDir dir;
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_FALSE(ChecksumOfFile(fd, dir.path(), 9).ok());
  ::close(fd);
}

}  // namespace
}  // namespace tabrel
