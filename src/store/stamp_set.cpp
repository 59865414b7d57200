#include "store/stamp_set.h"

#include "base/text.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {

namespace l = layout;

Result<StampSet> StampSet::Read(const AppState& state) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  StampSet set;
  set.Reserve(file.value().size() / l::kContactRecordLength);
  const Status read =
      file.value().ScanRecords(l::kContactRecordLength, [&set](std::string_view run, std::size_t) {
        for (std::size_t at = 0; at < run.size(); at += l::kContactRecordLength) {
          set.Add(run.substr(at + l::kModified.offset, l::kModified.width));
        }
        return true;
      });
  if (!read.ok()) return read;
  return set;
}

bool StampSet::Contains(std::string_view stamp) const {
  return stamps_.contains(TrimView(stamp));
}

void StampSet::Add(std::string_view stamp) {
  const std::string_view trimmed = TrimView(stamp);
  if (auto found = stamps_.find(trimmed); found != stamps_.end()) {
    ++found->second;
  } else {
    stamps_.emplace(trimmed, 1);
  }
}

void StampSet::Remove(std::string_view stamp) {
  auto found = stamps_.find(TrimView(stamp));
  if (found == stamps_.end()) return;
  if (--found->second == 0) stamps_.erase(found);
}

std::string StampSet::TakeAtOrAfter(const LocalDateTime& when) {
  LocalDateTime moment = when;
  std::string stamp = MakeStamp(moment);
  while (Contains(stamp)) {
    moment = NextStampTime(moment);
    stamp = MakeStamp(moment);
  }
  Add(stamp);
  return stamp;
}

std::string StampSet::TakeAtOrBefore(const LocalDateTime& when) {
  LocalDateTime cursor = when;
  return TakeBackFrom(cursor);
}

std::string StampSet::TakeBackFrom(LocalDateTime& cursor) {
  std::string stamp = MakeStamp(cursor);
  while (Contains(stamp)) {
    cursor = PreviousStampTime(cursor);
    stamp = MakeStamp(cursor);
  }
  Add(stamp);
  cursor = PreviousStampTime(cursor);
  return stamp;
}

}  // namespace tabrel
