#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/stamp_set.h"

namespace tabrel {

// What counts as a duplicate (the frame " Define "duplicate" ").
enum class DuplicateDefinition {
  kSameName,    // DupDefNameOnly: same first and last name
  kSameOrg,     // DupDefOrgOnly: same organisation
  kNameAndOrg,  // DupDefNameAndOrg: both
};

// What happens to a duplicate (the frame " Skip duplicates... ").
enum class DuplicateSkip {
  kNever,    // DupSkipNever: it replaces the existing record
  kAlways,   // DupSkipAlways: it is skipped
  kIfOlder,  // DupSkipOlder: skipped unless its date is later
};

struct DuplicateRules {
  DuplicateDefinition definition = DuplicateDefinition::kNameAndOrg;
  DuplicateSkip skip = DuplicateSkip::kIfOlder;
};

// The fields of a record the duplicate test compares, as stored (blanks
// are trimmed before comparing).
struct DuplicateFields {
  std::string_view first_name;
  std::string_view last_name;
  std::string_view org;
  std::string_view stamp;  // Modified: its date counts for kIfOlder
};

// The day of a stamp's date (month, day and four-digit year of its first 10
// characters), comparable as a number; kOldestDay when they are not a date.
inline constexpr int kOldestDay = INT32_MIN;
int StampDay(std::string_view stamp);

// The duplicate test of an import against the records of the data set,
// built once so that each incoming record costs one hash lookup instead of
// a pass over every existing record. A decision is what comparing the
// incoming record with every existing record in file order would give:
//
// - Two records match when each compared field is equal once trimmed,
//   exact and case-sensitive, field by field ("A"+"BC" is not "AB"+"C").
//   A record whose compared fields are all blank matches nothing: two
//   organisations are not duplicates because both have no first name.
// - Of the matching records, one that the incoming record replaces wins over
//   one it is skipped for, and of equals the lowest record number wins.
// - With kIfOlder the incoming record replaces a match whose date is
//   earlier than its own, and is skipped for one of the same or a later
//   date; a stamp that is not a date counts as the oldest date. Only dates
//   count, not times of day.
// - Records added by the import are never compared; a record replaced
//   earlier in the same import is compared by its new date (Replaced()).
class DuplicateIndex {
 public:
  // Indexes the whole stored records of `records` (1047 bytes each) and, in
  // the same pass, tells `stamps` the stamp of each.
  DuplicateIndex(std::string_view records, DuplicateRules rules, StampSet& stamps);

  enum class Verdict { kAdd, kSkip, kReplace };
  struct Decision {
    Verdict verdict = Verdict::kAdd;
    // The record replaced, or the first one the incoming record duplicates
    // when it is skipped; from 1. 0 for kAdd.
    std::size_t number = 0;
  };
  Decision Decide(const DuplicateFields& incoming) const;

  // Record `number` now holds a record stamped `stamp`.
  void Replaced(std::size_t number, std::string_view stamp);

 private:
  static constexpr std::uint32_t kNoGroup = UINT32_MAX;

  // Appends the key of `fields` under the rules to `out`; false (nothing
  // appended) when every compared field is blank.
  bool AppendKey(const DuplicateFields& fields, std::string& out) const;
  // The first member of group `group` whose day is before `day`.
  std::uint32_t FirstOlder(std::uint32_t group, int day) const;

  DuplicateRules rules_;
  mutable std::string key_;  // the incoming record's key, built in place
  std::string keys_;         // every key, one after the other; views point here
  std::unordered_map<std::string_view, std::uint32_t> group_of_key_;
  // Per existing record: its group and its place in the group.
  std::vector<std::uint32_t> group_;
  std::vector<std::uint32_t> place_;
  // Per group: its members (record indices in file order) at
  // members_[first_[g] .. first_[g + 1]), and a tree of the lowest day over
  // each run of members at days_[tree_[g] ..), for kIfOlder.
  std::vector<std::uint32_t> first_;
  std::vector<std::uint32_t> members_;
  std::vector<std::uint32_t> tree_;
  std::vector<int> days_;
};

}  // namespace tabrel
