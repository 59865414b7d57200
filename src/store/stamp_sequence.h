#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"

namespace tabrel {

// True when `stamp` holds a real date written "MM-DD-YYYY" followed by a
// time of day in seconds (digits and at most one decimal point, below
// 86,400), as MakeStamp writes them. Blank and dotted stamps are not.
bool IsReadableStamp(std::string_view stamp);

// The stamps of one data set, and fresh stamps that none of its records
// holds, for records that arrive without a usable one. The clock is read
// once, by the caller; the fresh stamps count backwards from that moment one
// unit of the stamp's resolution at a time (the date rolling back at
// midnight), so they never wait for the clock and never meet a stamp the
// editor gives a record saved a moment later. Stamps are compared with their
// blanks trimmed, as a delete compares them.
class StampSequence {
 public:
  explicit StampSequence(const LocalDateTime& now) : next_(now) {}

  void Reserve(std::size_t stamps);
  // A record of the data set holds `stamp` (one call per record).
  void Hold(std::string_view stamp);
  // A record holding `stamp` leaves the data set (it is being replaced).
  void Release(std::string_view stamp);
  bool IsHeld(std::string_view stamp) const;

  // The next stamp, 19 characters, that no record holds; it counts as held
  // from then on.
  std::string Next();

 private:
  // A trimmed stamp (at most 19 characters) and how many records hold it.
  // A whole data set's stamps are counted in one pass, so they live in one
  // open-addressed table without an allocation per stamp; a slot whose count
  // fell to 0 stays taken, so that a search never stops short of a stamp.
  struct Slot {
    std::array<char, 19> bytes{};
    std::uint8_t size = 0;
    bool used = false;
    std::uint32_t count = 0;
  };
  // The slot holding `stamp`, or the free slot where it belongs.
  Slot& Find(std::string_view trimmed);
  const Slot* Lookup(std::string_view stamp) const;
  void Grow();

  LocalDateTime next_;
  std::vector<Slot> slots_ = std::vector<Slot>(64);
  std::size_t used_ = 0;
};

}  // namespace tabrel
