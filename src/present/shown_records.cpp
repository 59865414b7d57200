#include "present/shown_records.h"

#include <algorithm>

#include "present/record_list.h"

namespace tabrel {

namespace {

Result<ShownRecords> Collect(Result<StampIndex> index, const Grid& list) {
  if (!index.ok()) return index.status();
  ShownRecords shown;
  shown.index = std::move(index.value());
  const int rows = list.Rows() - 1;
  shown.records.reserve(static_cast<std::size_t>(std::max(rows, 0)));
  for (int r = 1; r <= rows; ++r) {
    if (auto found = shown.index.Find(list.TextAt(r, kIdColumn))) {
      shown.records.push_back(found->record);
    } else {
      ++shown.missing;
    }
  }
  return shown;
}

}  // namespace

Result<ShownRecords> RecordsOfShownRows(const AppState& state, const Grid& list) {
  return Collect(StampIndex::Open(state), list);
}

Result<ShownRecords> RecordsOfShownRows(const AppState& state, const Grid& list,
                                        ReadBuffer& buffer) {
  return Collect(StampIndex::Open(state, buffer), list);
}

}  // namespace tabrel
