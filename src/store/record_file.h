#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

// A file of fixed-length records with no header, numbered from 1. The count
// is the file length divided by the record length; a trailing partial record
// is never read, and no write overwrites it (an append writes the new record
// where the partial one stood and puts its bytes back after it). Opening a
// missing file creates it empty. Every call opens and closes the file.
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
  // The whole file, trailing partial record included.
  Result<std::string> ReadRaw() const;
  // Overwrites record n in place, 1 <= n <= Count(); `record` is cut or
  // blank-padded to the record length. The record is flushed to disk before
  // success is reported. `fault` fails the kWrite, kFlush or kClose step.
  Status Write(std::size_t n, std::string_view record,
               const RewriteFaultHook* fault = nullptr) const;
  // Adds a record at Count() + 1, flushed as Write is; a failed write leaves
  // the file as long as it was.
  Status Append(std::string_view record, const RewriteFaultHook* fault = nullptr) const;
  // Replaces every whole record by `records` (a multiple of the record
  // length) through an atomic rewrite named `temp_name` in the same folder;
  // a trailing partial record is kept after them.
  Status Rewrite(std::string_view records, const std::string& temp_name,
                 const RewriteFaultHook* fault = nullptr) const;
  // The same with the records given as pieces, each a run of whole records.
  Status Rewrite(std::span<const std::string_view> pieces, const std::string& temp_name,
                 const RewriteFaultHook* fault = nullptr) const;

 private:
  std::string path_;
  std::size_t record_length_;
};

}  // namespace tabrel
