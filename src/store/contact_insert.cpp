#include "store/contact_insert.h"

#include <string>
#include <string_view>

#include "store/contact_sort.h"
#include "store/layout.h"
#include "store/mapped_file.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

RecordFile ContactFile(const AppState& state) {
  return RecordFile(state.DataFile(kContactFileName), l::kContactRecordLength);
}

bool HasKnownType(std::string_view record) {
  const std::string_view type = record.substr(l::kRecType.offset, l::kRecType.width);
  return IsIndividual(type) || IsOrganisation(type);
}

// Number of leading records that the new record goes after.
std::size_t InsertionIndex(std::string_view all, std::string_view new_key) {
  const std::size_t count = all.size() / l::kContactRecordLength;
  std::string key;  // carried over records of no known type
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view record =
        all.substr(i * l::kContactRecordLength, l::kContactRecordLength);
    if (HasKnownType(record)) key = SortKey(record);
    if (KeyLess(new_key, key)) return i;
  }
  return count;
}

}  // namespace

Status InsertInNameOrder(const AppState& state, const ContactRecord& record,
                         const RewriteFaultHook* fault) {
  const RecordFile file = ContactFile(state);
  auto mapped = MappedFile::Open(file.path());
  if (!mapped.ok()) return mapped.status();
  const std::string_view all = mapped.value().Records(l::kContactRecordLength);
  if (all.size() / l::kContactRecordLength >= l::kMaxRecords) {
    return Status::Error(error_number::kOverflow,
                         "The data set already holds 32,767 records, the most it can hold. The "
                         "record was not added.");
  }
  const std::string encoded = EncodeContact(record);
  const std::size_t at = InsertionIndex(all, SortKey(encoded)) * l::kContactRecordLength;
  const std::string_view pieces[] = {all.substr(0, at), encoded, all.substr(at)};
  return file.Rewrite(pieces, "tabrel.$$$", fault);
}

Status SaveRecordAt(const AppState& state, int record_number, const ContactRecord& record) {
  if (record_number < 1) {
    return Status::Error(error_number::kPathFileAccess, "Record " + std::to_string(record_number) +
                                                            " is not in " +
                                                            state.DataFile(kContactFileName));
  }
  return ContactFile(state).Write(static_cast<std::size_t>(record_number), EncodeContact(record));
}

}  // namespace tabrel
