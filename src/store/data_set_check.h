#pragma once

#include <string>
#include <vector>

#include "store/app_state.h"

namespace tabrel {

// A verification of the data set in state.data_path: whole records in
// tabrel.dat and keyword.dat, stamps unique, every keyword a record carries
// listed in keyword.dat, no change left unfinished by a crash, no temporary
// files left over, and the backup set (tabrel.bak, keyword.bak) whole with
// its keywords listed too. Read-only unless repaired.
struct DataSetCheck {
  // One line per fault found, each naming its file (and record, counted
  // from 1); empty when the data set is sound.
  std::vector<std::string> faults;
  // What a repair did ("An interrupted change was completed.", "3 left-over
  // temporary files were removed."); empty without --repair.
  std::vector<std::string> repaired;

  bool sound() const { return faults.empty(); }

  // Checks without changing anything. A change a running copy is
  // committing is waited for.
  static DataSetCheck Run(const AppState& state);
  // Takes the data set's lock first (which completes or undoes a change
  // left unfinished and removes temporary files nobody holds), then checks.
  // A data set another copy holds is not repaired: the fault says so.
  static DataSetCheck Repair(const AppState& state);
};

}  // namespace tabrel
