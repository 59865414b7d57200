#include "store/keyword_file.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "base/codec.h"
#include "base/text.h"
#include "store/layout.h"
#include "store/mapped_file.h"
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

// Calls `change` with each keyword slot of every record of tabrel.dat and
// rewrites the file when a slot changed.
template <typename Change>
Status ChangeKeywordSlots(const AppState& state, const RewriteFaultHook* fault, Change change) {
  const RecordFile file(state.DataFile(kContactFileName), layout::kContactRecordLength);
  auto mapped = MappedFile::Open(file.path());
  if (!mapped.ok()) return mapped.status();
  std::string all(mapped.value().Records(layout::kContactRecordLength));
  bool changed = false;
  for (std::size_t at = 0; at < all.size(); at += layout::kContactRecordLength) {
    for (const layout::Span& slot : {layout::kKW1, layout::kKW2, layout::kKW3}) {
      const std::size_t offset = at + slot.offset;
      std::string_view current(all.data() + offset, slot.width);
      if (auto replacement = change(TrimView(current))) {
        all.replace(offset, slot.width, Fit(*replacement, slot.width));
        changed = true;
      }
    }
  }
  if (!changed) return Status::Ok();
  return file.Rewrite(all, "tabrel.$$$", fault);
}

}  // namespace

Result<std::vector<std::string>> ReadKeywords(const AppState& state) {
  auto bytes = KeywordFile(state).ReadAll();
  if (!bytes.ok()) return bytes.status();
  return Split(bytes.value());
}

Status WriteKeywords(const AppState& state, const std::vector<std::string>& entries,
                     const RewriteFaultHook* fault) {
  std::string bytes;
  bytes.reserve(entries.size() * kWidth);
  for (const auto& entry : entries) bytes += Fit(entry, kWidth);
  return KeywordFile(state).Rewrite(bytes, kKeywordTempName, fault);
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

Status SortKeywordFile(const AppState& state, const RewriteFaultHook* fault) {
  auto entries = ReadKeywords(state);
  if (!entries.ok()) return entries.status();
  std::vector<std::string> sorted = SortedKeywords(entries.value());
  if (sorted == entries.value()) return Status::Ok();
  return WriteKeywords(state, sorted, fault);
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

Status AppendKeyword(const AppState& state, const std::string& keyword) {
  return KeywordFile(state).Append(Fit(keyword, kWidth));
}

Status RenameKeyword(const AppState& state, const std::string& old_name,
                     const std::string& new_name, const RewriteFaultHook* fault) {
  auto entries = ReadKeywords(state);
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
    if (Status s = WriteKeywords(state, renamed, fault); !s.ok()) return s;
  }
  return ChangeKeywordSlots(state, fault, [&](std::string_view slot) -> std::optional<std::string> {
    if (slot != old_trimmed) return std::nullopt;
    return std::string(new_trimmed);
  });
}

Status DeleteKeywordEntry(const AppState& state, const std::string& name,
                          const RewriteFaultHook* fault) {
  auto entries = ReadKeywords(state);
  if (!entries.ok()) return entries.status();
  std::vector<std::string> kept;
  for (const std::string& entry : entries.value()) {
    const std::string_view trimmed = TrimView(entry);
    if (!trimmed.empty() && trimmed != name) kept.push_back(entry);
  }
  return WriteKeywords(state, kept, fault);
}

Status RemoveKeywordFromRecords(const AppState& state, const std::string& name,
                                const RewriteFaultHook* fault) {
  return ChangeKeywordSlots(state, fault, [&](std::string_view slot) -> std::optional<std::string> {
    if (slot != name || name.empty()) return std::nullopt;
    return std::string();
  });
}

}  // namespace tabrel
