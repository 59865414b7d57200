#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

class ReadBuffer;

// What an in-place write did. On failure `landed` tells whether the bytes
// reached the file before the flush to disk failed: the record is then
// written but may not survive a crash, which is not the same as unsaved.
struct InPlaceWrite {
  Status status = Status::Ok();
  bool landed = false;
  bool ok() const { return status.ok(); }
};

// A file of fixed-length records with no header, numbered from 1. The count
// is the file length divided by the record length; a trailing partial record
// is never read, and no write overwrites it (an append writes the new record
// where the partial one stood and puts its bytes back after it). Opening a
// missing file creates it empty. Every call opens and closes the file, and
// reads it with pread (store/file_reader.h).
class RecordFile {
 public:
  RecordFile(std::string path, std::size_t record_length);

  const std::string& path() const { return path_; }
  std::size_t record_length() const { return record_length_; }

  // Creates the file empty when it does not exist.
  Status EnsureExists() const;
  Result<std::size_t> Count() const;
  // All whole records in one read: Count() * record_length bytes.
  Result<std::string> ReadAll() const;
  // The same into `buffer`, kept by the caller from one read to the next
  // (a fresh buffer of a whole data set costs more in page faults than the
  // read); valid until the buffer's next use.
  Result<std::string_view> ReadAll(ReadBuffer& buffer) const;
  // The whole file, trailing partial record included.
  Result<std::string> ReadRaw() const;
  // Overwrites record n in place, 1 <= n <= Count(), and flushes it;
  // `record` is cut or blank-padded to the record length. `fault` fails the
  // kWrite, kFlush or kClose step.
  InPlaceWrite Write(std::size_t n, std::string_view record,
                     const RewriteFaultHook* fault = nullptr) const;
  // Adds a record at Count() + 1, flushed as Write is. A failed append
  // leaves the file as long as it was; the failure named is the first one.
  Status Append(std::string_view record, const RewriteFaultHook* fault = nullptr) const;

  // Stages the replacement of every whole record by what `write_records`
  // writes (whole records only), the trailing partial record kept after
  // them; see StagedRewrite.
  Status StageRewrite(StagedRewrite& stage, const ContentWriter& write_records,
                      const RewriteFaultHook* fault = nullptr) const;
  // The same, committed at once: the old file or the new one, never a mix.
  Status Rewrite(const ContentWriter& write_records, const RewriteFaultHook* fault = nullptr) const;
  Status Rewrite(std::span<const std::string_view> pieces,
                 const RewriteFaultHook* fault = nullptr) const;
  Status Rewrite(std::string_view records, const RewriteFaultHook* fault = nullptr) const;

 private:
  std::string path_;
  std::size_t record_length_;
};

}  // namespace tabrel
