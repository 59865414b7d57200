#include "store/contact_sort.h"

#include <algorithm>
#include <vector>

#include "base/codec.h"
#include "base/text.h"
#include "store/contact_record.h"
#include "store/data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

struct Keyed {
  std::string key;
  bool typed;  // one of the four record types
  std::size_t index;
};

}  // namespace

std::string SortKey(std::string_view record) {
  const std::string_view type = record.substr(l::kRecType.offset, l::kRecType.width);
  if (IsIndividual(type))
    return UpperCp1252(TrimView(record.substr(l::kLastName.offset, l::kLastName.width)));
  if (IsOrganisation(type))
    return UpperCp1252(TrimView(record.substr(l::kOrg.offset, l::kOrg.width)));
  return {};
}

bool KeyLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

Status SortContactFile(const AppState& state) {
  ReadBuffer buffer;
  return SortContactFile(state, buffer);
}

Status SortContactFile(const AppState& state, ReadBuffer& buffer) {
  if (Status s = CheckWritable(state); !s.ok()) return s;
  const RecordFile file(state.DataFile(kContactFileName), l::kContactRecordLength);
  auto opened = FileReader::Open(file.path());
  if (!opened.ok()) return opened.status();
  auto records = opened.value().ReadRecords(l::kContactRecordLength, buffer);
  if (!records.ok()) return records.status();
  const std::string_view all = records.value();
  const std::size_t count = all.size() / l::kContactRecordLength;

  std::vector<Keyed> keyed;
  keyed.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view record =
        all.substr(i * l::kContactRecordLength, l::kContactRecordLength);
    const std::string_view type = record.substr(l::kRecType.offset, l::kRecType.width);
    keyed.push_back({SortKey(record), IsIndividual(type) || IsOrganisation(type), i});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    if (a.typed != b.typed) return a.typed;
    return KeyLess(a.key, b.key);
  });

  bool moved = false;
  std::vector<std::string_view> sorted;
  for (std::size_t i = 0; i < count; ++i) {
    moved = moved || keyed[i].index != i;
    const char* record = all.data() + keyed[i].index * l::kContactRecordLength;
    // Records that stay neighbours go out as one piece.
    if (!sorted.empty() && sorted.back().data() + sorted.back().size() == record) {
      sorted.back() =
          std::string_view(sorted.back().data(), sorted.back().size() + l::kContactRecordLength);
    } else {
      sorted.emplace_back(record, l::kContactRecordLength);
    }
  }
  if (!moved) return Status::Ok();
  return file.Rewrite(sorted, &state.write_fault);
}

}  // namespace tabrel
