#include "store/keyword_file.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "base/codec.h"
#include "base/text.h"
#include "store/data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

constexpr std::size_t kWidth = layout::kKeywordRecordLength;

RecordFile KeywordFile(const AppState& state) {
  return RecordFile(state.DataFile(kKeywordFileName), kWidth);
}

std::vector<std::string> Split(const std::string& bytes) {
  std::vector<std::string> entries;
  entries.reserve(bytes.size() / kWidth);
  for (std::size_t at = 0; at + kWidth <= bytes.size(); at += kWidth) {
    entries.push_back(bytes.substr(at, kWidth));
  }
  return entries;
}

bool HasVisibleCharacter(const std::string& entry) {
  return std::any_of(entry.begin(), entry.end(), [](char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 33 && code <= 125;
  });
}

// The keyword slots of one record that `change` gives a new text; false
// when it changes none.
template <typename Change>
bool ChangeSlots(char* record, Change& change) {
  bool changed = false;
  for (const layout::Span& slot : {layout::kKW1, layout::kKW2, layout::kKW3}) {
    const std::string_view current(record + slot.offset, slot.width);
    if (auto replacement = change(TrimView(current))) {
      const std::string fitted = Fit(*replacement, slot.width);
      std::copy(fitted.begin(), fitted.end(), record + slot.offset);
      changed = true;
    }
  }
  return changed;
}

// Stages tabrel.dat with each keyword slot that `change` gives a new text.
// Nothing is staged (and false yielded) when no slot changes. Two passes of
// a few records at a time: one to learn whether anything changes, one that
// writes.
template <typename Change>
Result<bool> StageSlotChange(const AppState& state, StagedRewrite& stage, Change change) {
  const RecordFile file(state.DataFile(kContactFileName), layout::kContactRecordLength);
  auto opened = FileReader::Open(file.path());
  if (!opened.ok()) return opened.status();
  const FileReader& reader = opened.value();
  constexpr std::size_t kLength = layout::kContactRecordLength;
  bool any = false;
  std::string record;
  Status read = reader.ScanRecords(kLength, [&](std::string_view run, std::size_t) {
    for (std::size_t at = 0; at < run.size() && !any; at += kLength) {
      record.assign(run.substr(at, kLength));
      any = ChangeSlots(record.data(), change);
    }
    return !any;
  });
  if (!read.ok()) return read;
  if (!any) return false;
  Status staged = file.StageRewrite(
      stage,
      [&](RewriteSink& sink) {
        Status written = Status::Ok();
        Status scanned = reader.ScanRecords(kLength, [&](std::string_view run, std::size_t) {
          std::string changed(run);
          for (std::size_t at = 0; at < changed.size(); at += kLength) {
            ChangeSlots(changed.data() + at, change);
          }
          written = sink.Write(changed);
          return written.ok();
        });
        return scanned.ok() ? written : scanned;
      },
      &state.write_fault);
  if (!staged.ok()) return staged;
  return true;
}

std::string EntryBytes(const std::vector<std::string>& entries) {
  std::string bytes;
  bytes.reserve(entries.size() * kWidth);
  for (const auto& entry : entries) bytes += Fit(entry, kWidth);
  return bytes;
}

}  // namespace

Result<std::vector<std::string>> ReadKeywords(const AppState& state) {
  auto bytes = KeywordFile(state).ReadAll();
  if (!bytes.ok()) return bytes.status();
  return Split(bytes.value());
}

Status WriteKeywords(const AppState& state, const std::vector<std::string>& entries) {
  if (Status s = CheckWritable(state); !s.ok()) return s;
  return KeywordFile(state).Rewrite(EntryBytes(entries), &state.write_fault);
}

std::vector<std::string> SortedKeywords(std::vector<std::string> entries) {
  std::vector<std::pair<std::string, std::size_t>> keyed;
  keyed.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) keyed.emplace_back(UpperCp1252(entries[i]), i);
  // Byte order of the upper-cased text: compare as unsigned characters.
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(
        a.first.begin(), a.first.end(), b.first.begin(), b.first.end(), [](char x, char y) {
          return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
  });
  std::vector<std::string> sorted;
  sorted.reserve(entries.size());
  for (const auto& [key, index] : keyed) sorted.push_back(std::move(entries[index]));
  return sorted;
}

Status SortKeywordFile(const AppState& state) {
  auto entries = ReadKeywords(state);
  if (!entries.ok()) return entries.status();
  std::vector<std::string> sorted = SortedKeywords(entries.value());
  if (sorted == entries.value()) return Status::Ok();
  return WriteKeywords(state, sorted);
}

std::vector<std::string> MergeKeywords(std::vector<std::string> entries,
                                       const std::vector<std::string>& collected) {
  std::unordered_set<std::string> held(entries.begin(), entries.end());
  for (const std::string& keyword : collected) {
    std::string entry = Fit(keyword, kWidth);
    if (!HasVisibleCharacter(entry) || held.contains(entry)) continue;
    held.insert(entry);
    entries.push_back(std::move(entry));
  }
  return entries;
}

Status MergeKeywordFile(const AppState& state) {
  auto entries = ReadKeywords(state);
  if (!entries.ok()) return entries.status();
  auto incoming = RecordFile(state.ProgramFile(kKeywordMergeName), kWidth).ReadAll();
  if (!incoming.ok()) return incoming.status();
  const std::size_t before = entries.value().size();
  std::vector<std::string> merged =
      MergeKeywords(std::move(entries.value()), Split(incoming.value()));
  if (merged.size() == before) return Status::Ok();
  return WriteKeywords(state, merged);
}

Status AppendKeyword(const AppState& state, const std::string& keyword) {
  if (Status s = CheckWritable(state); !s.ok()) return s;
  return KeywordFile(state).Append(Fit(keyword, kWidth), &state.write_fault);
}

KeywordChange::KeywordChange(const AppState& state) : state_(state) {}

Status KeywordChange::StageKeywords(const std::vector<std::string>& entries) {
  if (Status s = CheckWritable(state_); !s.ok()) return s;
  Status s = KeywordFile(state_).StageRewrite(
      keywords_, [bytes = EntryBytes(entries)](RewriteSink& sink) { return sink.Write(bytes); },
      &state_.write_fault);
  keywords_staged_ = s.ok();
  return s;
}

Status KeywordChange::StageRename(const std::string& old_name, const std::string& new_name) {
  auto entries = ReadKeywords(state_);
  if (!entries.ok()) return entries.status();
  const std::string_view old_trimmed = TrimView(old_name);
  const std::string stored_new = Fit(TrimView(new_name), kWidth);
  const std::string_view new_trimmed = TrimView(stored_new);
  if (old_trimmed.empty() || old_trimmed == new_trimmed) return Status::Ok();
  std::vector<std::string> renamed;
  bool changed = false;
  bool new_listed = false;
  for (const std::string& entry : entries.value()) {
    const std::string_view name = TrimView(entry);
    const bool becomes_new = name == old_trimmed;
    if (becomes_new || name == new_trimmed) {
      // The first entry that carries the new name keeps its place; the
      // others would list it a second time.
      changed = changed || becomes_new;
      if (new_listed) {
        changed = true;
        continue;
      }
      new_listed = true;
      renamed.push_back(stored_new);
      continue;
    }
    renamed.push_back(entry);
  }
  if (changed) {
    if (Status s = StageKeywords(renamed); !s.ok()) return s;
  }
  return StageRecords([&](std::string_view slot) -> std::optional<std::string> {
    if (slot != old_trimmed) return std::nullopt;
    return std::string(new_trimmed);
  });
}

Status KeywordChange::StageDeleteEntry(const std::string& name) {
  auto entries = ReadKeywords(state_);
  if (!entries.ok()) return entries.status();
  std::vector<std::string> kept;
  for (const std::string& entry : entries.value()) {
    const std::string_view trimmed = TrimView(entry);
    if (!trimmed.empty() && trimmed != name) kept.push_back(entry);
  }
  return StageKeywords(kept);
}

Status KeywordChange::StageRemoveFromRecords(const std::string& name) {
  if (name.empty()) return Status::Ok();
  return StageRecords([&](std::string_view slot) -> std::optional<std::string> {
    if (slot != name) return std::nullopt;
    return std::string();
  });
}

template <typename Change>
Status KeywordChange::StageRecords(Change change) {
  if (Status s = CheckWritable(state_); !s.ok()) return s;
  auto staged = StageSlotChange(state_, records_, change);
  if (!staged.ok()) return staged.status();
  records_staged_ = staged.value();
  return Status::Ok();
}

GroupCommit KeywordChange::Commit() {
  // The records first: should the system stop between the two renames, the
  // list still names a keyword no record carries, rather than records
  // carrying a keyword the list no longer offers.
  std::vector<StagedRewrite*> staged;
  if (records_staged_) staged.push_back(&records_);
  if (keywords_staged_) staged.push_back(&keywords_);
  records_staged_ = keywords_staged_ = false;
  return GroupCommit::Run(staged);
}

GroupCommit RenameKeyword(const AppState& state, const std::string& old_name,
                          const std::string& new_name) {
  KeywordChange change(state);
  if (Status s = change.StageRename(old_name, new_name); !s.ok()) return GroupCommit{s, {}};
  return change.Commit();
}

Status DeleteKeywordEntry(const AppState& state, const std::string& name) {
  KeywordChange change(state);
  if (Status s = change.StageDeleteEntry(name); !s.ok()) return s;
  return change.Commit().status;
}

Status RemoveKeywordFromRecords(const AppState& state, const std::string& name) {
  KeywordChange change(state);
  if (Status s = change.StageRemoveFromRecords(name); !s.ok()) return s;
  return change.Commit().status;
}

}  // namespace tabrel
