#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "exchange/export_target.h"
#include "exchange/format_table.h"
#include "platform/dialogs.h"
#include "present/grid.h"
#include "present/progress_view.h"
#include "store/app_state.h"

namespace tabrel {

// What becomes of a file that already holds something.
enum class ExistingFile {
  kAsk,      // the windows' questions (ExportTargets)
  kAdd,      // added to where the format can be added to; else refused
  kReplace,  // replaced
  kKeep,     // refused: nothing is written
};

// How an export ended.
struct ExportEnd {
  enum class Kind {
    kWritten,
    kStopped,  // refused or cancelled: told through the dialogs, or `refusal`
    kFailed,   // the rows or the file could not be read or written: `failure`
  };
  Kind kind = Kind::kStopped;
  std::string refusal;  // kStopped by the policy of a flag, not told yet
  Status failure = Status::Ok();
  std::size_t exported = 0;  // records written
  std::size_t held = 0;      // records the file holds now
  int missing = 0;           // rows whose record is gone, left out
};

// The bytes of an export, and of how many rows' records.
struct ExportBytes {
  std::string bytes;
  std::size_t exported = 0;
  int missing = 0;  // rows whose record is gone, left out
};

// Every export of both front ends: the records of the rows (one StampIndex
// for the list), their bytes in the format, the file checked (ExportTargets::
// Acceptable) and what it holds kept or replaced as `existing` says, and one
// atomic write: a failure at any step leaves the file as it was.
class ExportJob {
 public:
  // `state` and `dialogs` must outlive the job.
  ExportJob(const AppState& state, Dialogs& dialogs) : state_(state), targets_(state, dialogs) {}

  ExportEnd Run(const ExchangeFormat& format, WriteOptions options, const std::string& path,
                const Grid& rows, ExistingFile existing, ProgressView* progress = nullptr) const;
  // The same for stored records already read (1047 bytes each), for a
  // front end that selects them without a list.
  ExportEnd Run(const ExchangeFormat& format, WriteOptions options, const std::string& path,
                std::span<const std::string_view> records, ExistingFile existing) const;
  // The records of `rows` in the format, for a front end that writes them
  // elsewhere (standard output).
  Result<ExportBytes> BytesOf(const ExchangeFormat& format, const WriteOptions& options,
                              const Grid& rows) const;
  static ExportBytes BytesOf(const ExchangeFormat& format, const WriteOptions& options,
                             std::span<const std::string_view> records);

  // Records a front end hands over a run at a time: `each` calls its visitor
  // with every run in order (views valid until it returns; false stops) and
  // yields how the pass ended; `most` is how many records there can be.
  using RunVisitor = std::function<bool(std::span<const std::string_view>)>;
  struct RecordRuns {
    std::size_t most = 0;
    std::function<Status(const RunVisitor&)> each;
  };
  // The same for a format that writes each entry on its own (not
  // whole_list): the entries are written as the runs come, so the records
  // are never all in memory. A question that names the number of records
  // counts them in a pass of their own.
  ExportEnd Run(const ExchangeFormat& format, WriteOptions options, const std::string& path,
                const RecordRuns& runs, ExistingFile existing) const;

  const ExportTargets& targets() const { return targets_; }

 private:
  // The bytes of the export, for the options the target leaves.
  using MakeBytes = std::function<Result<ExportBytes>(const WriteOptions&)>;
  // The number of records shown, asked for only when a question names it.
  using Shown = std::function<int()>;
  ExportEnd Write(const ExchangeFormat& format, WriteOptions options, const std::string& path,
                  const Shown& shown, ExistingFile existing, ProgressView* progress,
                  const MakeBytes& bytes) const;
  std::optional<ExportTarget> Target(const ExchangeFormat& format, const std::string& path,
                                     const Shown& shown, ExistingFile existing,
                                     ExportEnd& end) const;

  const AppState& state_;
  ExportTargets targets_;
};

}  // namespace tabrel
