#include "store/data_set_merge.h"

#include <algorithm>

#include "base/text.h"
#include "store/keyword_file.h"
#include "store/layout.h"
#include "store/pair_rewrite.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;
static_assert(l::kContactRecordLength == 1047);

std::string Thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

}  // namespace

Result<DataSetMerge> DataSetMerge::Open(const AppState& state) {
  DataSetMerge merge;
  merge.contact_path_ = state.DataFile(kContactFileName);
  merge.keyword_path_ = state.DataFile(kKeywordFileName);
  auto contacts = MappedFile::Open(merge.contact_path_);
  if (!contacts.ok()) return contacts.status();
  auto keywords = RecordFile(merge.keyword_path_, l::kKeywordRecordLength).ReadRaw();
  if (!keywords.ok()) return keywords.status();
  // Views into a mapping stay valid when the MappedFile moves.
  merge.contacts_ = std::move(contacts.value());
  merge.records_ = merge.contacts_.Records(kRecordLength);
  merge.count_ = merge.records_.size() / kRecordLength;
  merge.keyword_bytes_ = std::move(keywords.value());
  merge.replacement_of_.assign(merge.count_, 0);
  return merge;
}

std::string_view DataSetMerge::Record(std::size_t number) const {
  const std::uint32_t place = replacement_of_[number - 1];
  if (place == 0) return records_.substr((number - 1) * kRecordLength, kRecordLength);
  return replacements_.view().substr((place - 1) * kRecordLength, kRecordLength);
}

void DataSetMerge::Replace(std::size_t number, std::string_view record) {
  const std::string_view fitted = record.substr(0, kRecordLength);
  const std::size_t padding = kRecordLength - fitted.size();
  std::uint32_t& place = replacement_of_[number - 1];
  if (place != 0) {
    char* slot = replacements_.data() + (place - 1) * kRecordLength;
    std::copy(fitted.begin(), fitted.end(), slot);
    std::fill_n(slot + fitted.size(), padding, ' ');
    return;
  }
  // Room for every record at once, so the replacements never move.
  if (replacements_.capacity() == 0) replacements_ = BigBuffer(count_ * kRecordLength);
  ++replaced_count_;
  place = static_cast<std::uint32_t>(replacements_.size() / kRecordLength + 1);
  replacements_.Append(fitted, padding);
}

void DataSetMerge::Add(std::string_view record) {
  if (added_.capacity() == 0) added_ = BigBuffer(l::kMaxRecords * kRecordLength);
  ++added_count_;
  const std::string_view fitted = record.substr(0, kRecordLength);
  added_.Append(fitted, kRecordLength - fitted.size());
}

void DataSetMerge::CollectKeyword(std::string_view keyword) {
  keywords_.emplace_back(TrimView(keyword));
}

Status DataSetMerge::CheckLimit() const {
  if (count_ + added() <= l::kMaxRecords) return Status::Ok();
  return Status::Error(error_number::kOverflow,
                       "The data set holds " + Thousands(count_) + " records and " +
                           Thousands(added()) + " would be added: " + Thousands(count_ + added()) +
                           ", more than the " + Thousands(l::kMaxRecords) +
                           " records a data set can hold");
}

MergeOutcome DataSetMerge::Commit(const RewriteFaultHook& fault) const {
  if (!changed()) return {};
  if (Status s = CheckLimit(); !s.ok()) return {s, true, 0};

  // The records: runs of the old file between the replaced ones, the
  // replacements, the added records, then a torn last record's bytes.
  PairedFile contacts{contact_path_, {}, "tabrel.$$$", contacts_.bytes()};
  // Pieces that lie one after the other in memory are written as one.
  auto add = [&pieces = contacts.pieces](std::string_view piece) {
    if (!pieces.empty() && pieces.back().data() + pieces.back().size() == piece.data()) {
      pieces.back() = std::string_view(pieces.back().data(), pieces.back().size() + piece.size());
    } else {
      pieces.push_back(piece);
    }
  };
  std::size_t run = 0;
  for (std::size_t i = 0; i <= count_; ++i) {
    if (i < count_ && replacement_of_[i] == 0) continue;
    if (i > run) add(records_.substr(run * kRecordLength, (i - run) * kRecordLength));
    if (i < count_) add(Record(i + 1));
    run = i + 1;
  }
  contacts.pieces.push_back(added_.view());
  contacts.pieces.push_back(contacts_.bytes().substr(records_.size()));

  const std::size_t whole =
      keyword_bytes_.size() / l::kKeywordRecordLength * l::kKeywordRecordLength;
  std::vector<std::string> entries;
  entries.reserve(whole / l::kKeywordRecordLength);
  for (std::size_t at = 0; at < whole; at += l::kKeywordRecordLength) {
    entries.push_back(keyword_bytes_.substr(at, l::kKeywordRecordLength));
  }
  const std::size_t before = entries.size();
  std::vector<std::string> merged = SortedKeywords(MergeKeywords(entries, keywords_));
  const std::size_t keywords_added = merged.size() - before;

  if (merged == entries) {
    if (Status s = AtomicRewrite(contact_path_, contacts.pieces, contacts.temp_name, fault);
        !s.ok()) {
      return {s, true, 0};
    }
    return {Status::Ok(), true, 0};
  }
  std::string keyword_content;
  keyword_content.reserve(keyword_bytes_.size() + keywords_added * l::kKeywordRecordLength);
  for (const std::string& entry : merged) keyword_content += entry;
  keyword_content.append(keyword_bytes_, whole);
  const PairedFile keywords{keyword_path_, {keyword_content}, kKeywordTempName, keyword_bytes_};
  PairOutcome written = RewritePair(contacts, keywords, fault);
  if (!written.status.ok()) return {written.status, written.unchanged, 0};
  return {Status::Ok(), true, keywords_added};
}

}  // namespace tabrel
