#pragma once

#include <string_view>
#include <vector>

#include "base/result.h"
#include "present/grid.h"
#include "store/app_state.h"
#include "store/stamp_index.h"

namespace tabrel {

// The stored records of the rows of a record list, in the order shown, found
// by the stamps in the ID column through one StampIndex of tabrel.dat: one
// read of the file for the whole list. A row whose record is no longer in
// the file (edited or deleted since the list was filled) is left out and
// counted, never replaced by another record.
struct ShownRecords {
  StampIndex index;                       // keeps `records` readable
  std::vector<std::string_view> records;  // 1047 bytes each
  int missing = 0;
};

// Rows 1 .. Rows() - 1 of `list`, the stamp in column kIdColumn.
Result<ShownRecords> RecordsOfShownRows(const AppState& state, const Grid& list);
// The same, reading tabrel.dat into `buffer`, which must outlive the result:
// a window that makes one report after another keeps one buffer for all.
Result<ShownRecords> RecordsOfShownRows(const AppState& state, const Grid& list,
                                        ReadBuffer& buffer);

}  // namespace tabrel
