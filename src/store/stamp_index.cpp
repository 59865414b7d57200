#include "store/stamp_index.h"

#include <cstring>

#include "base/text.h"
#include "store/layout.h"

namespace tabrel {

namespace l = layout;

Result<StampIndex> StampIndex::Open(const AppState& state) {
  StampIndex index;
  if (Status s = index.Read(state, index.own_buffer_); !s.ok()) return s;
  return index;
}

Result<StampIndex> StampIndex::Open(const AppState& state, ReadBuffer& buffer) {
  StampIndex index;
  if (Status s = index.Read(state, buffer); !s.ok()) return s;
  return index;
}

namespace {

// FNV-1a over the 19 bytes: the stamps differ in their last digits.
std::size_t HashOf(std::string_view stamp) {
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : stamp) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

// Two stamps of the stored width, compared inline: a list of every record
// compares one a row.
bool SameStamp(std::string_view a, std::string_view b) {
  return std::memcmp(a.data(), b.data(), l::kModified.width) == 0;
}

}  // namespace

std::string_view StampIndex::StampOf(std::uint32_t record) const {
  return records_.substr(record * l::kContactRecordLength + l::kModified.offset,
                         l::kModified.width);
}

Status StampIndex::Read(const AppState& state, ReadBuffer& buffer) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  auto records = file.value().ReadRecords(l::kContactRecordLength, buffer);
  if (!records.ok()) return records.status();
  records_ = records.value();
  const std::size_t count = records_.size() / l::kContactRecordLength;
  std::size_t size = 16;
  while (size < 2 * count) size *= 2;
  slots_.assign(size, 0);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string_view stamp = StampOf(i);
    for (std::size_t at = HashOf(stamp) & (size - 1);; at = (at + 1) & (size - 1)) {
      if (slots_[at] == 0) {
        slots_[at] = i + 1;
        break;
      }
      if (SameStamp(StampOf(slots_[at] - 1), stamp)) break;  // the first record keeps it
    }
  }
  return Status::Ok();
}

std::optional<StampIndex::Found> StampIndex::Find(std::string_view stamp) const {
  // The ID column holds the stored 19 characters; anything else is fitted
  // as LoadRecordByStamp fits the editor's copy.
  std::string fitted;
  if (stamp.size() != l::kModified.width) {
    fitted = Fit(stamp, l::kModified.width);
    stamp = fitted;
  }
  if (slots_.empty()) return std::nullopt;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = HashOf(stamp) & mask; slots_[at] != 0; at = (at + 1) & mask) {
    const std::uint32_t record = slots_[at] - 1;
    if (SameStamp(StampOf(record), stamp)) {
      return Found{records_.substr(record * l::kContactRecordLength, l::kContactRecordLength),
                   static_cast<int>(record) + 1};
    }
  }
  return std::nullopt;
}

}  // namespace tabrel
