#include "store/contact_insert.h"

#include <string>
#include <string_view>

#include "store/contact_sort.h"
#include "store/data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"
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
Result<std::size_t> InsertionIndex(const FileReader& file, std::string_view new_key) {
  std::string key;  // carried over records of no known type
  std::size_t index = file.size() / l::kContactRecordLength;
  const Status read =
      file.ScanRecords(l::kContactRecordLength, [&](std::string_view run, std::size_t first) {
        for (std::size_t i = 0; i < run.size() / l::kContactRecordLength; ++i) {
          const std::string_view record =
              run.substr(i * l::kContactRecordLength, l::kContactRecordLength);
          if (HasKnownType(record)) key = SortKey(record);
          if (KeyLess(new_key, key)) {
            index = first + i;
            return false;
          }
        }
        return true;
      });
  if (!read.ok()) return read;
  return index;
}

}  // namespace

Status InsertInNameOrder(const AppState& state, const ContactRecord& record) {
  if (Status s = CheckWritable(state); !s.ok()) return s;
  const RecordFile file = ContactFile(state);
  auto opened = FileReader::Open(file.path());
  if (!opened.ok()) return opened.status();
  const FileReader& reader = opened.value();
  const std::uint64_t end = reader.size() / l::kContactRecordLength * l::kContactRecordLength;
  if (end / l::kContactRecordLength >= l::kMaxRecords) {
    return Status::Error(error_number::kOverflow,
                         "The data set already holds 32,767 records, the most it can hold. The "
                         "record was not added.");
  }
  const std::string encoded = EncodeContact(record);
  auto index = InsertionIndex(reader, SortKey(encoded));
  if (!index.ok()) return index.status();
  const std::uint64_t at = index.value() * l::kContactRecordLength;
  return file.Rewrite(
      [&](RewriteSink& sink) {
        if (Status s = sink.Copy(reader, 0, at); !s.ok()) return s;
        if (Status s = sink.Write(encoded); !s.ok()) return s;
        return sink.Copy(reader, at, end - at);
      },
      &state.write_fault);
}

InPlaceWrite SaveRecordAt(const AppState& state, int record_number, const ContactRecord& record) {
  if (Status s = CheckWritable(state); !s.ok()) return {s, false};
  if (record_number < 1) {
    return {Status::Error(error_number::kPathFileAccess, "Record " + std::to_string(record_number) +
                                                             " is not in " +
                                                             state.DataFile(kContactFileName)),
            false};
  }
  return ContactFile(state).Write(static_cast<std::size_t>(record_number), EncodeContact(record),
                                  &state.write_fault);
}

}  // namespace tabrel
