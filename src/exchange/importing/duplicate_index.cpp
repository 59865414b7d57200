#include "exchange/importing/duplicate_index.h"

#include <bit>
#include <chrono>

#include "base/text.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr int kNoDay = INT32_MAX;  // fills a tree past its last member

std::string_view Field(std::string_view record, l::Span span) {
  return record.substr(span.offset, span.width);
}

DuplicateFields FieldsOf(std::string_view record) {
  return {Field(record, l::kFirstName), Field(record, l::kLastName), Field(record, l::kOrg),
          Field(record, l::kModified)};
}

std::uint32_t TreeSize(std::uint32_t members) {
  return std::bit_ceil(members);
}

}  // namespace

int StampDay(std::string_view stamp) {
  const auto when = ParseStamp(stamp);
  if (!when) return kOldestDay;
  using namespace std::chrono;
  const sys_days day = year_month_day(year(when->year), month(static_cast<unsigned>(when->month)),
                                      std::chrono::day(static_cast<unsigned>(when->day)));
  return static_cast<int>(day.time_since_epoch().count());
}

bool DuplicateIndex::AppendKey(const DuplicateFields& fields, std::string& out) const {
  std::string_view parts[3];
  int n = 0;
  if (rules_.definition != DuplicateDefinition::kSameOrg) {
    parts[n++] = TrimView(fields.first_name);
    parts[n++] = TrimView(fields.last_name);
  }
  if (rules_.definition != DuplicateDefinition::kSameName) parts[n++] = TrimView(fields.org);
  bool blank = true;
  for (int i = 0; i < n; ++i) blank = blank && parts[i].empty();
  if (blank) return false;
  // Each field led by its length, so that no two splits of one text meet.
  for (int i = 0; i < n; ++i) {
    out.push_back(static_cast<char>(parts[i].size()));
    out.append(parts[i]);
  }
  return true;
}

DuplicateIndex::DuplicateIndex(std::string_view records, DuplicateRules rules, StampSet& stamps)
    : rules_(rules) {
  const std::size_t count = records.size() / l::kContactRecordLength;
  // Room for the longest key of every record, so that no view moves.
  keys_.reserve(count * (3 + 2 * l::kFirstName.width + l::kOrg.width));
  group_of_key_.reserve(count);
  group_.assign(count, kNoGroup);
  place_.assign(count, 0);
  stamps.Reserve(count);
  std::vector<std::uint32_t> sizes;
  for (std::size_t i = 0; i < count; ++i) {
    const DuplicateFields fields = FieldsOf(records.substr(i * l::kContactRecordLength));
    stamps.Add(fields.stamp);
    const std::size_t start = keys_.size();
    if (!AppendKey(fields, keys_)) continue;
    const std::string_view key(keys_.data() + start, keys_.size() - start);
    const auto [it, added] =
        group_of_key_.try_emplace(key, static_cast<std::uint32_t>(sizes.size()));
    if (added) {
      sizes.push_back(0);
    } else {
      keys_.resize(start);  // the key is held already
    }
    group_[i] = it->second;
    place_[i] = sizes[it->second]++;
  }

  const std::size_t groups = sizes.size();
  first_.assign(groups + 1, 0);
  for (std::size_t g = 0; g < groups; ++g) first_[g + 1] = first_[g] + sizes[g];
  members_.resize(first_[groups]);
  for (std::size_t i = 0; i < count; ++i) {
    if (group_[i] != kNoGroup)
      members_[first_[group_[i]] + place_[i]] = static_cast<std::uint32_t>(i);
  }
  if (rules_.skip != DuplicateSkip::kIfOlder) return;

  tree_.resize(groups);
  std::size_t total = 0;
  for (std::size_t g = 0; g < groups; ++g) {
    tree_[g] = static_cast<std::uint32_t>(total);
    total += 2 * TreeSize(sizes[g]);
  }
  days_.assign(total, kNoDay);
  for (std::size_t g = 0; g < groups; ++g) {
    const std::uint32_t size = TreeSize(sizes[g]);
    int* tree = days_.data() + tree_[g];
    for (std::uint32_t p = 0; p < sizes[g]; ++p) {
      const std::size_t record = members_[first_[g] + p];
      tree[size + p] =
          StampDay(Field(records.substr(record * l::kContactRecordLength), l::kModified));
    }
    for (std::uint32_t node = size - 1; node >= 1; --node) {
      tree[node] = std::min(tree[2 * node], tree[2 * node + 1]);
    }
  }
}

std::uint32_t DuplicateIndex::FirstOlder(std::uint32_t group, int day) const {
  const std::uint32_t size = TreeSize(first_[group + 1] - first_[group]);
  const int* tree = days_.data() + tree_[group];
  if (tree[1] >= day) return kNoGroup;
  std::uint32_t node = 1;
  while (node < size) node = tree[2 * node] < day ? 2 * node : 2 * node + 1;
  return node - size;
}

DuplicateIndex::Decision DuplicateIndex::Decide(const DuplicateFields& incoming) const {
  // Into an empty data set, or one of records without names, all are added.
  if (group_of_key_.empty()) return {};
  key_.clear();
  if (!AppendKey(incoming, key_)) return {};
  const auto it = group_of_key_.find(std::string_view(key_));
  if (it == group_of_key_.end()) return {};
  const std::uint32_t group = it->second;
  switch (rules_.skip) {
    case DuplicateSkip::kNever:
      return {Verdict::kReplace, members_[first_[group]] + std::size_t{1}};
    case DuplicateSkip::kAlways:
      return {Verdict::kSkip, members_[first_[group]] + std::size_t{1}};
    case DuplicateSkip::kIfOlder:
      break;
  }
  const std::uint32_t place = FirstOlder(group, StampDay(incoming.stamp));
  // Every match is as new as the incoming record: it duplicates the first.
  if (place == kNoGroup) return {Verdict::kSkip, members_[first_[group]] + std::size_t{1}};
  return {Verdict::kReplace, members_[first_[group] + place] + std::size_t{1}};
}

void DuplicateIndex::Replaced(std::size_t number, std::string_view stamp) {
  if (rules_.skip != DuplicateSkip::kIfOlder) return;
  const std::uint32_t group = group_[number - 1];
  if (group == kNoGroup) return;
  const std::uint32_t size = TreeSize(first_[group + 1] - first_[group]);
  int* tree = days_.data() + tree_[group];
  std::uint32_t node = size + place_[number - 1];
  tree[node] = StampDay(stamp);
  for (node /= 2; node >= 1; node /= 2) tree[node] = std::min(tree[2 * node], tree[2 * node + 1]);
}

}  // namespace tabrel
