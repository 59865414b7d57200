#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "cli/cli_args.h"
#include "present/grid.h"
#include "present/record_list.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // failed or refused; the data as it was
inline constexpr int kExitUsage = 2;

// What a run takes from its process: the environment variables it reads,
// the folder relative paths start from, and the three streams.
struct Environment {
  const char* xdg_data_home = nullptr;
  const char* home = nullptr;
  const char* source_date_epoch = nullptr;
  std::string working_folder;  // absolute
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Parses `arguments` (the words after the program name), runs the command
// and yields the exit status. No exception leaves it.
int Main(std::span<const std::string_view> arguments, Environment& env);

// Runs a parsed command line.
int Run(const Args& args, Environment& env);

// The record list `selection` picks from the data set of `state`, as the
// main window would fill it. A word search reads no search file: it runs
// over the whole data set, or over the rows of the keyword selection.
Result<Grid> SelectRows(AppState& state, const Selection& selection);
// The stored records of those rows, in the same order, from one read of
// tabrel.dat into `buffer`, which must outlive them.
Result<std::vector<std::string_view>> SelectRecords(AppState& state, const Selection& selection,
                                                    ReadBuffer& buffer);
// The same a run of the file at a time (see VisitSelectedRecords).
Status VisitSelection(AppState& state, const Selection& selection, const SelectedRun& visit);

}  // namespace tabrel::cli
