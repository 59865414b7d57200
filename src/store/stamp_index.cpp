#include "store/stamp_index.h"

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

Status StampIndex::Read(const AppState& state, ReadBuffer& buffer) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  auto records = file.value().ReadRecords(l::kContactRecordLength, buffer);
  if (!records.ok()) return records.status();
  records_ = records.value();
  const std::size_t count = records_.size() / l::kContactRecordLength;
  first_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view stamp =
        records_.substr(i * l::kContactRecordLength + l::kModified.offset, l::kModified.width);
    first_.try_emplace(stamp, static_cast<std::uint32_t>(i));
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
  const auto it = first_.find(stamp);
  if (it == first_.end()) return std::nullopt;
  return Found{records_.substr(it->second * l::kContactRecordLength, l::kContactRecordLength),
               static_cast<int>(it->second) + 1};
}

}  // namespace tabrel
