#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

// One file of a pair that changes as one: where it lives, its new content as
// pieces written one after the other, the temporary name it is staged
// under, and its present content (so the change can be taken back).
struct PairedFile {
  std::string path;
  std::vector<std::string_view> pieces;
  std::string temp_name;
  std::string_view old_content;
};

// How a pair rewrite ended. On failure `unchanged` says whether both files
// are still as they were; the description then says what each file holds.
struct PairOutcome {
  Status status = Status::Ok();
  bool unchanged = true;
};

// Replaces two files as one change (tabrel.dat and keyword.dat of one data
// set, say): both new contents are written and flushed before either is
// renamed over its file, so a full disk or a write error leaves both old
// files. Should the second rename fail after the first succeeded, the first
// file gets its old content back. `fault` is asked before every step of both
// rewrites, in order.
PairOutcome RewritePair(const PairedFile& first, const PairedFile& second,
                        const RewriteFaultHook& fault = nullptr);

}  // namespace tabrel
