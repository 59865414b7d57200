#include "store/record_text_check.h"

#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

namespace l = layout;

bool InSpan(std::size_t at, l::Span span) {
  return at >= span.offset && at < span.offset + span.width;
}

}  // namespace

RecordTextCheck::RecordTextCheck(std::size_t length) : length_(length) {}

void RecordTextCheck::Take(std::string_view record) {
  ++taken_;
  const bool dos = length_ == l::kDosRecordLength;
  if (first_not_text_ == 0) {
    for (std::size_t at = 0; at < record.size(); ++at) {
      const auto c = static_cast<unsigned char>(record[at]);
      if (c >= 0x20 || c == '\t') continue;
      const bool notes =
          dos ? InSpan(at, l::kDosNotes1) || InSpan(at, l::kDosNotes2) : InSpan(at, l::kNotes);
      if (notes && (c == '\r' || c == '\n')) continue;
      first_not_text_ = taken_;
      break;
    }
  }
  const l::Span stamp = dos ? l::kDosModified : l::kModified;
  if (!IsReadableStamp(record.substr(stamp.offset, stamp.width))) {
    if (unreadable_++ == 0) first_unreadable_ = taken_;
  }
}

Status RecordTextCheck::Verdict(const std::string& path) const {
  const std::string start = path + " is not a Tabrel record file: ";
  if (first_not_text_ > 0) {
    return Status::Error(error_number::kPathFileAccess,
                         start + "record " + std::to_string(first_not_text_) +
                             " holds bytes that are not text. Nothing was imported.");
  }
  if (unreadable_ * 2 > taken_) {
    return Status::Error(error_number::kPathFileAccess,
                         start + "the stamps of " + std::to_string(unreadable_) + " of its " +
                             std::to_string(taken_) +
                             " records cannot be read, the first in record " +
                             std::to_string(first_unreadable_) + ". Nothing was imported.");
  }
  return Status::Ok();
}

}  // namespace tabrel
