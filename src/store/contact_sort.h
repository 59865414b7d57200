#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/file_reader.h"

namespace tabrel {

// The sort key of a stored record: the trimmed last name of an individual or
// the trimmed organisation of an organisation, in capitals. Empty for a
// record of any other type.
std::string SortKey(std::string_view record);

// Orders two keys by character code, a shorter key before a longer one that
// begins with it.
bool KeyLess(std::string_view a, std::string_view b);

// Puts tabrel.dat into name order: records with equal keys keep their order,
// and records of no known type go to the end in their order (they are never
// listed, so they have no place among the names). One read, an in-memory
// sort and one atomic rewrite; a file already in order is not written.
Status SortContactFile(const AppState& state);
// The same, reading the file into `buffer`: a caller that sorts again and
// again keeps one buffer, so that the memory of the largest data set is
// not taken afresh each time.
Status SortContactFile(const AppState& state, ReadBuffer& buffer);

}  // namespace tabrel
