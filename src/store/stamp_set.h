#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

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
// Read the set right before the change that uses the stamps, while holding
// the data set's lock (store/data_set_lock.h), so no other copy of the
// program adds a stamp in between.
class StampSet {
 public:
  // The stamps of every whole record of tabrel.dat of the current data set,
  // in one pass over the file.
  static Result<StampSet> Read(const AppState& state);

  bool Contains(std::string_view stamp) const;
  void Add(std::string_view stamp);
  std::size_t size() const { return stamps_.size(); }

  // The stamp of `when`, or when a record has it, that of the first later
  // moment (NextStampTime steps) whose stamp is free. The stamp is added to
  // the set, so several records stamped in a row each get their own, in
  // order of time. For new and edited records.
  std::string TakeAtOrAfter(const LocalDateTime& when);
  // The same stepping back in time (PreviousStampTime): records added from
  // outside take stamps before the moment they came in, below the stamps of
  // what the user saves next.
  std::string TakeAtOrBefore(const LocalDateTime& when);

 private:
  std::unordered_set<std::string> stamps_;
};

}  // namespace tabrel
