#include "store/data_set_check.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "store/atomic_file.h"
#include "store/backup.h"
#include "store/commit_record.h"
#include "store/data_set_lock.h"
#include "store/file_reader.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

// The whole records of `path` (an absent file holds none), with a fault for
// a trailing part of a record.
bool ReadWhole(const std::string& path, std::size_t length, std::string& records,
               std::vector<std::string>& faults) {
  auto file = FileReader::Open(path, FileReader::Missing::kFail);
  if (!file.ok()) {
    if (file.status().number() == error_number::kPathNotFound) return true;
    faults.push_back(file.status().ErrorLine());
    return false;
  }
  if (file.value().size() % length != 0) {
    faults.push_back(path + ": its last record is cut short (" +
                     std::to_string(file.value().size() % length) + " of " +
                     std::to_string(length) + " bytes).");
  }
  auto read = file.value().ReadRecords(length);
  if (!read.ok()) {
    faults.push_back(read.status().ErrorLine());
    return false;
  }
  records = std::move(read.value());
  return true;
}

// One pair of files: records, then keywords.
void CheckPair(const std::string& contacts, const std::string& keywords, bool stamps,
               std::vector<std::string>& faults) {
  std::string records;
  std::string entries;
  if (!ReadWhole(contacts, l::kContactRecordLength, records, faults) ||
      !ReadWhole(keywords, l::kKeywordRecordLength, entries, faults)) {
    return;
  }
  std::unordered_set<std::string_view> listed;
  for (std::size_t at = 0; at < entries.size(); at += l::kKeywordRecordLength) {
    listed.insert(TrimView(std::string_view(entries).substr(at, l::kKeywordRecordLength)));
  }
  std::unordered_map<std::string_view, std::size_t> first_with;
  std::unordered_set<std::string_view> unlisted;
  for (std::size_t n = 0; n * l::kContactRecordLength < records.size(); ++n) {
    const std::string_view record =
        std::string_view(records).substr(n * l::kContactRecordLength, l::kContactRecordLength);
    const std::string where = contacts + ", record " + std::to_string(n + 1);
    const std::string_view stamp = TrimView(record.substr(l::kModified.offset, l::kModified.width));
    if (stamps && !stamp.empty()) {
      const auto [it, fresh] = first_with.emplace(stamp, n + 1);
      if (!fresh) {
        faults.push_back(where + ": its stamp \"" + std::string(stamp) + "\" is also record " +
                         std::to_string(it->second) + "'s.");
      }
    }
    for (const l::Span span : {l::kKW1, l::kKW2, l::kKW3}) {
      const std::string_view keyword = TrimView(record.substr(span.offset, span.width));
      if (keyword.empty() || listed.contains(keyword) || !unlisted.insert(keyword).second) {
        continue;
      }
      faults.push_back(where + ": its keyword \"" + std::string(keyword) + "\" is not in " +
                       keywords + ".");
    }
  }
}

DataSetCheck Check(const AppState& state, DataSetCheck check) {
  if (Status s = CheckNoUnfinishedCommit(state.data_path); !s.ok()) {
    check.faults.push_back(s.description());
  }
  CheckPair(state.DataFile(kContactFileName), state.DataFile(kKeywordFileName), true, check.faults);
  CheckPair(state.DataFile(kContactBackupName), state.DataFile(kKeywordBackupName), false,
            check.faults);
  for (const std::string& path : LeftoverFiles(state.data_path)) {
    check.faults.push_back(path + " is left over from a change that did not finish.");
  }
  return check;
}

}  // namespace

DataSetCheck DataSetCheck::Run(const AppState& state) {
  return Check(state, {});
}

DataSetCheck DataSetCheck::Repair(const AppState& state) {
  DataSetCheck check;
  const DataSetLock lock = DataSetLock::Acquire(state.data_path);
  if (!lock.held()) {
    check.faults.push_back(lock.status().description() + " It was not repaired.");
    return Check(state, std::move(check));
  }
  if (!lock.recovered().empty()) check.repaired.push_back(lock.recovered());
  if (lock.removed() > 0) {
    check.repaired.push_back(std::to_string(lock.removed()) +
                             " left-over temporary files were removed.");
  }
  return Check(state, std::move(check));
}

}  // namespace tabrel
