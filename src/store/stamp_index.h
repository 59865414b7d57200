#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel {

// The records of tabrel.dat by their Modified stamp, built once per report so
// that looking up every row of the record list reads the file once instead
// of once a row. A lookup gives what LoadRecordByStamp would load: the first
// record in file order whose 19-character stamp matches.
class StampIndex {
 public:
  // Reads tabrel.dat of the current data set (created empty when missing,
  // as LoadRecordByStamp does) and indexes its whole records.
  static Result<StampIndex> Open(const AppState& state);
  // The same, reading into `buffer`, which must outlive the index: a caller
  // that makes one report after another keeps one buffer for all of them.
  static Result<StampIndex> Open(const AppState& state, ReadBuffer& buffer);

  struct Found {
    std::string_view record;  // the stored bytes, one whole record
    int number = 0;           // counted from 1 in file order
  };
  // The record whose stamp equals `stamp` cut or blank-padded to 19
  // characters; nothing when no record carries it. The view stays valid for
  // as long as the index lives.
  std::optional<Found> Find(std::string_view stamp) const;

 private:
  Status Read(const AppState& state, ReadBuffer& buffer);

  std::string_view StampOf(std::uint32_t record) const;

  ReadBuffer own_buffer_;  // its memory stays put when the index moves
  std::string_view records_;
  // Open addressing over the stamps: slot -> 1 + index of the first record
  // holding the stamp, 0 for a free slot; a power of two, at most half full.
  // One array instead of a node a record: a list of every record looks
  // each row up once.
  std::vector<std::uint32_t> slots_;
};

}  // namespace tabrel
