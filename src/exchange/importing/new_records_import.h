#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "base/result.h"
#include "base/status.h"
#include "exchange/formats/left_out.h"
#include "exchange/formats/record_builder.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/data_set_merge.h"
#include "store/stamp_set.h"

namespace tabrel {

// The imports from other programs' files (comma-delimited, LDIF, Agent):
// every entry of the file becomes a new record added after the records of
// the data set, with the import's keyword and a stamp of its own from one
// reading of the clock. All of it is decided in memory; Commit() writes
// tabrel.dat, and keyword.dat when the keyword is new to it, once, as a
// pair. The keyword is listed only when a record was added and only when
// the list does not hold it yet.
class NewRecordsImport {
 public:
  // Opens the data set `target` names; fresh stamps count backwards from
  // `now` and never repeat a stamp of the data set. With `write_ahead` the
  // records are written ahead (DataSetMerge::WriteAddedAhead).
  static Result<NewRecordsImport> Open(const AppState& target, const LocalDateTime& now,
                                       bool write_ahead = false);
  // An import into no data set; Open() makes a real one.
  NewRecordsImport() = default;

  // Adds the record `built` holds, as type `type` ('1' public individual,
  // '2' public organisation) with `keyword` (Windows-1252) as its first
  // keyword, and counts what its values lost.
  void Add(RecordBuilder& built, char type, std::string_view keyword);
  // The same for a record RecordBuilder::Write() wrote elsewhere (on
  // another thread) with `keyword` and no stamp, and what it lost there.
  void AddWritten(std::string_view record, std::string_view keyword, std::size_t replaced,
                  std::size_t cut);

  std::size_t added() const { return merge_.added(); }
  // Characters that became "?" and values cut to their field's width.
  std::size_t replaced_characters() const { return replaced_; }
  std::size_t cut_values() const { return cut_; }
  // The values of the file no field could hold, counted by the reader.
  LeftOut& left_out() { return left_out_; }
  const LeftOut& left_out() const { return left_out_; }
  // The records as they will be written: the data set's, then the added.
  const DataSetMerge& merge() const { return merge_; }

  // error_number::kOverflow, naming the numbers, past 32,767 records.
  Status CheckLimit() const { return merge_.CheckLimit(); }
  // Writes the added records and the keyword; nothing when none was added.
  MergeOutcome Commit() const { return merge_.Commit(); }

 private:
  NewRecordsImport(DataSetMerge merge, const LocalDateTime& now)
      : merge_(std::move(merge)), next_stamp_(now) {}
  // The place of the next record; the first lists the keyword.
  std::span<char> Place(std::string_view keyword);

  DataSetMerge merge_;
  StampSet stamps_;
  LocalDateTime next_stamp_;  // where the next fresh stamp is looked for
  std::size_t replaced_ = 0;
  std::size_t cut_ = 0;
  LeftOut left_out_;
};

// Told the number of entries read so far, as an import goes through a file.
using ImportProgress = std::function<void(std::size_t)>;

// "1 record was added." or "N records were added.", the first line of an
// import's report.
std::string AddedText(std::size_t added);

// The lines an import's closing message and its preview give about lost
// characters, cut values and the values it left out (LeftOutText), each led
// by CR LF; empty when nothing was lost.
std::string LossNote(const NewRecordsImport& import);

// "Not stored, no field holds them: birthday: 40; photo: 3.", the line
// every import's preview and report give about the values it left out;
// empty when none was.
std::string LeftOutText(const LeftOut& left_out);

}  // namespace tabrel
