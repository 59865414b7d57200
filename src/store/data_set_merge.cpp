#include "store/data_set_merge.h"

#include <algorithm>

#include "base/text.h"
#include "store/data_set.h"
#include "store/keyword_file.h"
#include "store/layout.h"
#include "store/record_file.h"
#include "store/stamp_journal.h"

namespace tabrel {
namespace {

namespace l = layout;
static_assert(l::kContactRecordLength == 1047);

std::string Thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

// `record` cut or blank-padded to one stored record at `slot`.
void Place(std::string_view record, char* slot, std::size_t length) {
  const std::string_view fitted = record.substr(0, length);
  std::copy(fitted.begin(), fitted.end(), slot);
  std::fill_n(slot + fitted.size(), length - fitted.size(), ' ');
}

}  // namespace

Result<DataSetMerge> DataSetMerge::Open(const AppState& state) {
  DataSetMerge merge;
  merge.state_ = &state;
  auto contacts = FileReader::Open(state.DataFile(kContactFileName));
  if (!contacts.ok()) return contacts.status();
  auto records = contacts.value().ReadRecords(kRecordLength, merge.contacts_);
  if (!records.ok()) return records.status();
  auto keywords = ReadKeywords(state);
  if (!keywords.ok()) return keywords.status();
  merge.records_ = records.value();
  merge.count_ = merge.records_.size() / kRecordLength;
  merge.keyword_entries_ = std::move(keywords.value());
  merge.replacement_of_.assign(merge.count_, 0);
  return merge;
}

std::string_view DataSetMerge::Record(std::size_t number) const {
  const std::uint32_t place = replacement_of_[number - 1];
  if (place == 0) return records_.substr((number - 1) * kRecordLength, kRecordLength);
  return {replacement_data_ + (place - 1) * kRecordLength, kRecordLength};
}

void DataSetMerge::Replace(std::size_t number, std::string_view record) {
  std::uint32_t& place = replacement_of_[number - 1];
  if (place == 0) {
    if (replacement_data_ == nullptr) {
      replacement_data_ = replacements_.Reserve(count_ * kRecordLength);
    }
    place = static_cast<std::uint32_t>(++replaced_count_);
  }
  Place(record, replacement_data_ + (place - 1) * kRecordLength, kRecordLength);
}

void DataSetMerge::Add(std::string_view record) {
  const std::span<char> slot = AddInPlace();
  Place(record, slot.data(), slot.size());
}

std::span<char> DataSetMerge::AddInPlace() {
  if (added_count_ >= l::kMaxRecords) {
    past_limit_.resize(kRecordLength);
    ++added_count_;
    return past_limit_;
  }
  char* slot = NextAddedSlot();
  ++added_count_;
  return {slot, kRecordLength};
}

char* DataSetMerge::NextAddedSlot() {
  if (ahead_) {
    if (ahead_->in_batch == Ahead::kBatchRecords) WriteBatchAhead();
    return ahead_->batch.get() + ahead_->in_batch++ * kRecordLength;
  }
  if (added_data_ == nullptr) added_data_ = added_.Reserve(l::kMaxRecords * kRecordLength);
  return added_data_ + added_count_ * kRecordLength;
}

void DataSetMerge::WriteAddedAhead() {
  if (added_count_ > 0 || ahead_ || !CheckWritable(*state_).ok()) return;
  ahead_ = std::make_unique<Ahead>();
  ahead_->batch = std::make_unique<char[]>(Ahead::kBatchRecords * kRecordLength);
}

void DataSetMerge::WriteBatchAhead() {
  Ahead& ahead = *ahead_;
  const std::string_view batch(ahead.batch.get(), ahead.in_batch * kRecordLength);
  if (ahead.failed.ok() && ahead.written == 0) {
    ahead.failed = ahead.stage.Begin(state_->DataFile(kContactFileName), state_->write_fault);
  }
  // After the old records, which keep their length: replaced ones are
  // written in place by Commit.
  if (ahead.failed.ok()) {
    ahead.failed = ahead.stage.WriteAhead((count_ + ahead.written) * kRecordLength, batch);
  }
  ahead.written += ahead.in_batch;
  ahead.in_batch = 0;
}

void DataSetMerge::Remove(std::size_t number) {
  if (removed_.empty()) removed_.assign(count_, false);
  if (!removed_[number - 1]) ++removed_count_;
  removed_[number - 1] = true;
}

Status DataSetMerge::NoteStampChanges() const {
  std::vector<StampJournal::Change> changes;
  for (std::size_t i = 0; i < count_; ++i) {
    if (replacement_of_[i] == 0) continue;
    const std::size_t stamp = l::kModified.offset;
    changes.push_back({records_.substr(i * kRecordLength + stamp, l::kModified.width),
                       Record(i + 1).substr(stamp, l::kModified.width)});
  }
  return StampJournal::Note(*state_, changes);
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

MergeOutcome DataSetMerge::Commit() const {
  MergeOutcome outcome;
  if (!changed()) return outcome;
  outcome.written.status = CheckWritable(*state_);
  if (outcome.written.ok()) outcome.written.status = CheckLimit();
  // A failure to write ahead is told here, after the refusals that come
  // first without writing ahead.
  if (outcome.written.ok() && ahead_) outcome.written.status = ahead_->failed;
  if (outcome.written.ok()) outcome.written.status = NoteStampChanges();
  if (!outcome.written.ok()) return outcome;
  const RewriteFaultHook* fault = &state_->write_fault;

  // The records: runs of the old file between the replaced ones, the
  // replacements, then the added records (those written ahead passed
  // over). Pieces that lie one after the other in memory are written as
  // one.
  std::vector<std::string_view> pieces;
  auto add = [&pieces](std::string_view piece) {
    if (!pieces.empty() && pieces.back().data() + pieces.back().size() == piece.data()) {
      pieces.back() = std::string_view(pieces.back().data(), pieces.back().size() + piece.size());
    } else {
      pieces.push_back(piece);
    }
  };
  std::size_t run = 0;
  for (std::size_t i = 0; i <= count_; ++i) {
    const bool removed = i < count_ && !removed_.empty() && removed_[i];
    if (i < count_ && replacement_of_[i] == 0 && !removed) continue;
    if (i > run) add(records_.substr(run * kRecordLength, (i - run) * kRecordLength));
    if (i < count_ && !removed) add(Record(i + 1));
    run = i + 1;
  }
  const std::size_t ahead = ahead_ ? ahead_->written : 0;
  std::string_view rest;
  if (ahead_) {
    rest = {ahead_->batch.get(), ahead_->in_batch * kRecordLength};
  } else if (added_count_ > 0) {
    rest = {added_data_, std::min(added_count_, l::kMaxRecords) * kRecordLength};
  }

  const RecordFile contacts(state_->DataFile(kContactFileName), kRecordLength);
  StagedRewrite local_stage;
  StagedRewrite& contact_stage = ahead > 0 ? ahead_->stage : local_stage;
  outcome.written.status = contacts.StageRewrite(
      contact_stage,
      [&](RewriteSink& sink) {
        if (Status s = sink.Write(pieces); !s.ok()) return s;
        if (ahead > 0) {
          if (Status s = sink.Skip(ahead * kRecordLength); !s.ok()) return s;
        }
        return sink.Write(rest);
      },
      fault);
  if (!outcome.written.ok()) return outcome;

  std::vector<std::string> merged = SortedKeywords(MergeKeywords(keyword_entries_, keywords_));
  if (merged == keyword_entries_ && also_.empty()) {
    outcome.written.status = contact_stage.Commit();
    return outcome;
  }
  std::string keyword_content;
  keyword_content.reserve(merged.size() * l::kKeywordRecordLength);
  for (const std::string& entry : merged) keyword_content += entry;
  const RecordFile keywords(state_->DataFile(kKeywordFileName), l::kKeywordRecordLength);
  StagedRewrite keyword_stage;
  std::vector<StagedRewrite*> all = {&contact_stage};
  if (merged != keyword_entries_) {
    outcome.written.status = keywords.StageRewrite(
        keyword_stage,
        [&keyword_content](RewriteSink& sink) { return sink.Write(keyword_content); }, fault);
    if (!outcome.written.ok()) return outcome;
    all.push_back(&keyword_stage);
  }
  all.insert(all.end(), also_.begin(), also_.end());
  // tabrel.dat first: only it can be left new, should a failed rename of
  // keyword.dat not be undone.
  outcome.written = GroupCommit::Run(all);
  if (outcome.written.ok()) outcome.keywords_added = merged.size() - keyword_entries_.size();
  return outcome;
}

}  // namespace tabrel
