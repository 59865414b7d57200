// Reading files from elsewhere: a block of records at a time, never
// creating a file, and never acting on a file that changed underneath.
#include "store/record_stream.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "store/big_buffer.h"
#include "store/file_info.h"

namespace tabrel {
namespace {

using testing::TempDir;

std::string Records(std::size_t count, std::size_t length) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i)
    bytes += std::string(length, static_cast<char>('a' + i % 26));
  return bytes;
}

std::string ReadAll(RecordStream& stream) {
  std::string all;
  for (;;) {
    auto block = stream.Next();
    EXPECT_TRUE(block.ok()) << block.status().ErrorLine();
    if (!block.ok() || block.value().empty()) return all;
    EXPECT_EQ(block.value().size() % 1047, 0u);
    all += block.value();
  }
}

TEST(RecordStreamTest, ReadsEveryRecordInWholeRecordBlocks) {
  TempDir dir;
  const std::string bytes = Records(2500, 1047);  // more than one block
  dir.Write("in.dat", bytes);
  auto stream = RecordStream::Open(dir.File("in.dat"), 1047);
  ASSERT_TRUE(stream.ok());
  EXPECT_TRUE(stream.value().whole());
  EXPECT_EQ(stream.value().count(), 2500u);
  EXPECT_EQ(ReadAll(stream.value()), bytes);
}

TEST(RecordStreamTest, AFileThatChangesWhileItIsReadIsAFailure) {
  TempDir dir;
  const std::string bytes = Records(2500, 1047);
  for (const bool cut : {true, false}) {
    dir.Write("in.dat", bytes);
    auto stream = RecordStream::Open(dir.File("in.dat"), 1047);
    ASSERT_TRUE(stream.ok());
    ASSERT_TRUE(stream.value().Next().ok());
    std::filesystem::resize_file(dir.File("in.dat"), cut ? 1047 : bytes.size() + 1047);
    Status failure = Status::Ok();
    for (int i = 0; i < 5 && failure.ok(); ++i) {
      auto block = stream.value().Next();
      if (!block.ok()) failure = block.status();
    }
    EXPECT_EQ(failure.number(), error_number::kDeviceIo) << (cut ? "cut short" : "grown");
  }
}

TEST(RecordStreamTest, OpeningAMissingFileOrAFolderFailsAndCreatesNothing) {
  TempDir dir;
  EXPECT_EQ(RecordStream::Open(dir.File("missing"), 1047).status().number(),
            error_number::kPathNotFound);
  EXPECT_FALSE(dir.Exists("missing"));
  EXPECT_FALSE(RecordStream::Open(dir.path(), 1047).ok());
  dir.Write("ragged", std::string(1048, ' '));
  auto ragged = RecordStream::Open(dir.File("ragged"), 1047);
  ASSERT_TRUE(ragged.ok());
  EXPECT_FALSE(ragged.value().whole());
  dir.Write("empty", "");
  EXPECT_FALSE(RecordStream::Open(dir.File("empty"), 1047).value().whole());
}

TEST(FileInfoTest, LookingCreatesNothingAndSameFileSeesThroughLinks) {
  TempDir dir;
  auto missing = LookAt(dir.File("missing"));
  ASSERT_TRUE(missing.ok());
  EXPECT_FALSE(missing.value().exists);
  EXPECT_FALSE(dir.Exists("missing"));
  EXPECT_FALSE(ReadExistingFile(dir.File("missing")).ok());
  EXPECT_FALSE(dir.Exists("missing"));

  dir.Write("file", "bytes");
  std::filesystem::create_symlink(dir.File("file"), dir.File("link"));
  std::filesystem::create_directory(dir.File("sub"));
  const FileInfo file = LookAt(dir.File("file")).value();
  EXPECT_TRUE(file.is_regular);
  EXPECT_EQ(file.size, 5u);
  EXPECT_TRUE(SameFile(file, LookAt(dir.File("link")).value()));
  EXPECT_TRUE(SameFile(file, LookAt(dir.File("sub/../file")).value()));
  EXPECT_FALSE(SameFile(file, LookAt(dir.File("sub")).value()));
  EXPECT_FALSE(SameFile(missing.value(), missing.value()));
  EXPECT_EQ(ReadExistingFile(dir.File("link")).value(), "bytes");
  EXPECT_TRUE(CheckWritableFolder(dir.File("sub")).ok());
  EXPECT_EQ(CheckWritableFolder(dir.File("file")).number(), error_number::kPathNotFound);
  EXPECT_EQ(CheckWritableFolder(dir.File("gone/")).number(), error_number::kPathNotFound);
}

TEST(BigBufferTest, FillsUpToItsCapacityAndNoFurther) {
  BigBuffer buffer(10);
  EXPECT_TRUE(buffer.Append("abc", 2));
  EXPECT_EQ(buffer.view(), "abc  ");
  EXPECT_FALSE(buffer.Append("123456"));
  EXPECT_TRUE(buffer.Append("12345"));
  EXPECT_EQ(buffer.view(), "abc  12345");
  BigBuffer moved = std::move(buffer);
  EXPECT_EQ(moved.view(), "abc  12345");
  EXPECT_FALSE(moved.Append("x"));
}

}  // namespace
}  // namespace tabrel
