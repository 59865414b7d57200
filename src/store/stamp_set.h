#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/date_time.h"
#include "base/result.h"
#include "store/app_state.h"

namespace tabrel {

// The stamps the records of a data set carry, for giving a record a stamp no
// other record has: a record is found again by its stamp alone, so two
// records with one stamp would be opened, overwritten and deleted for each
// other. Stamps are compared without leading and trailing blanks, as a
// delete compares them.
//
// A stamp that several records hold (a data set made before stamps were kept
// apart may have such) is counted, so that one of them leaving the set does
// not free the stamp while the others still hold it.
//
// Read the set right before the change that uses the stamps, while holding
// the data set's lock (store/data_set_lock.h), so no other copy of the
// program adds a stamp in between.
class StampSet {
 public:
  // The stamps of every whole record of tabrel.dat of the current data set,
  // in one pass over the file.
  static Result<StampSet> Read(const AppState& state);

  bool Contains(std::string_view stamp) const;
  // A record holding `stamp` joins the set.
  void Add(std::string_view stamp);
  // A record holding `stamp` leaves the set (it is being replaced).
  void Remove(std::string_view stamp);
  // The number of distinct stamps held.
  std::size_t size() const { return distinct_ + long_stamps_.size(); }
  void Reserve(std::size_t stamps);

  // The stamp of `when`, or when a record has it, that of the first later
  // moment (NextStampTime steps) whose stamp is free. The stamp is added to
  // the set, so several records stamped in a row each get their own, in
  // order of time. For new and edited records.
  std::string TakeAtOrAfter(const LocalDateTime& when);
  // The same stepping back in time (PreviousStampTime): records added from
  // outside take stamps before the moment they came in, below the stamps of
  // what the user saves next.
  std::string TakeAtOrBefore(const LocalDateTime& when);
  // The same from `cursor`, which is then moved one step before the stamp
  // taken: a run of stamps taken from one reading of the clock walks back
  // once, never over the stamps it took before.
  std::string TakeBackFrom(LocalDateTime& cursor);

 private:
  static constexpr std::size_t kWidth = 19;  // a stamp's width; longer ones go apart
  // Open addressing over stamps held inline: one array the size of a power
  // of two, at most half of it used, instead of a node and a string a stamp
  // (an import of 32,767 cards asks for as many stamps).
  struct Slot {
    std::array<char, kWidth> text;
    std::uint8_t size = 0;
    std::int32_t count = -1;  // -1 never used; 0 left (the probe goes on past it)
  };
  // Adds `stamp` (trimmed or not) when no record holds it; false, with
  // nothing changed, when one does.
  bool TakeIfFree(std::string_view stamp);
  // Puts the trimmed `stamp`, which no slot holds, into a free slot.
  void Insert(std::string_view stamp);
  Slot* Find(std::string_view stamp);
  const Slot* Find(std::string_view stamp) const;
  void Grow(std::size_t stamps);

  // Lookups by string_view, without building a string for each.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::vector<Slot> slots_;
  std::size_t used_ = 0;      // slots ever taken, those left included
  std::size_t distinct_ = 0;  // slots with a count above 0
  // Stamp -> how many records hold it, for the odd text longer than a stamp.
  std::unordered_map<std::string, int, Hash, std::equal_to<>> long_stamps_;
};

}  // namespace tabrel
