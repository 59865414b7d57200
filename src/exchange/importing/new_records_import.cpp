#include "exchange/importing/new_records_import.h"

#include <algorithm>

#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

Result<NewRecordsImport> NewRecordsImport::Open(const AppState& target, const LocalDateTime& now,
                                                bool write_ahead) {
  auto merge = DataSetMerge::Open(target);
  if (!merge.ok()) return merge.status();
  NewRecordsImport import(std::move(merge.value()), now);
  if (write_ahead) import.merge_.WriteAddedAhead();
  const std::string_view records = import.merge_.records();
  // Room for every stamp a data set can hold at once: the table then never
  // grows while the records are added.
  import.stamps_.Reserve(std::max<std::size_t>(import.merge_.count(), layout::kMaxRecords));
  for (std::size_t at = 0; at < records.size(); at += l::kContactRecordLength) {
    import.stamps_.Add(records.substr(at + l::kModified.offset, l::kModified.width));
  }
  return import;
}

std::span<char> NewRecordsImport::Place(std::string_view keyword) {
  if (added() == 0) merge_.CollectKeyword(keyword);
  return merge_.AddInPlace();
}

void NewRecordsImport::Add(RecordBuilder& built, char type, std::string_view keyword) {
  // Written where the merge keeps it: one copy less of every record.
  built.Write(Place(keyword), type, keyword, stamps_.TakeBackFrom(next_stamp_));
  replaced_ += built.replaced();
  cut_ += built.cut();
}

void NewRecordsImport::AddWritten(std::string_view record, std::string_view keyword,
                                  std::size_t replaced, std::size_t cut) {
  const std::span<char> place = Place(keyword);
  const std::string_view whole = record.substr(0, place.size());
  std::copy(whole.begin(), whole.end(), place.begin());
  RecordBuilder::Stamp(place, stamps_.TakeBackFrom(next_stamp_));
  replaced_ += replaced;
  cut_ += cut;
}

std::string AddedText(std::size_t added) {
  return Counted(added, "record was added.", "records were added.");
}

std::string LossNote(const NewRecordsImport& import) {
  const std::size_t replaced_characters = import.replaced_characters();
  const std::size_t cut_values = import.cut_values();
  std::string note;
  if (replaced_characters > 0) {
    note += "\r\n" +
            Counted(replaced_characters, "character could not be stored and became \"?\"",
                    "characters could not be stored and became \"?\"") +
            " (the record files hold only the Windows-1252 character set).";
  }
  if (cut_values > 0) {
    note += "\r\n" + Counted(cut_values, "value was longer than its field and was cut.",
                             "values were longer than their fields and were cut.");
  }
  if (!import.left_out().empty()) note += "\r\n" + LeftOutText(import.left_out());
  return note;
}

std::string LeftOutText(const LeftOut& left_out) {
  if (left_out.empty()) return "";
  std::string text = "Not stored, no field holds them:";
  const char* glue = " ";
  for (const auto& [kind, n] : left_out.kinds()) {
    text.append(glue).append(kind).append(": ").append(std::to_string(n));
    glue = "; ";
  }
  return text + ".";
}

}  // namespace tabrel
