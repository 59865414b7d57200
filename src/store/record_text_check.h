#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/status.h"

namespace tabrel {

// Whether the records of a file to import are records of this program, not
// another file of a length that happens to be a whole number of records:
// every record text (no control byte but CR and LF in its notes, and tabs),
// and most stamps readable (IsReadableStamp). Records are taken one at a
// time, as they are read.
class RecordTextCheck {
 public:
  // For records of `length` bytes: layout::kContactRecordLength, or
  // layout::kDosRecordLength for the DOS generation's.
  explicit RecordTextCheck(std::size_t length);

  void Take(std::string_view record);
  // Fails, naming `path` and the first bad record, when a record is not
  // text or more than half of the stamps cannot be read.
  Status Verdict(const std::string& path) const;

 private:
  std::size_t length_;
  std::size_t taken_ = 0;
  std::size_t first_not_text_ = 0;  // counted from 1; 0: none
  std::size_t unreadable_ = 0;
  std::size_t first_unreadable_ = 0;
};

}  // namespace tabrel
