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
  set.stamps_.reserve(file.value().size() / l::kContactRecordLength);
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
  return stamps_.contains(std::string(TrimView(stamp)));
}

void StampSet::Add(std::string_view stamp) {
  stamps_.emplace(TrimView(stamp));
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
  LocalDateTime moment = when;
  std::string stamp = MakeStamp(moment);
  while (Contains(stamp)) {
    moment = PreviousStampTime(moment);
    stamp = MakeStamp(moment);
  }
  Add(stamp);
  return stamp;
}

}  // namespace tabrel
