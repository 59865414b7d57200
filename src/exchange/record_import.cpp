#include "exchange/record_import.h"

#include "base/text.h"
#include "exchange/dos_record.h"
#include "store/contact_record.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

namespace l = layout;

std::string_view Field(std::string_view record, l::Span span) {
  return record.substr(span.offset, span.width);
}

}  // namespace

std::size_t RecordLengthOf(ImportKind kind) {
  return kind == ImportKind::kDos ? l::kDosRecordLength : l::kContactRecordLength;
}

Result<RecordImport> RecordImport::Open(const AppState& target, DuplicateRules rules,
                                        const LocalDateTime& now) {
  auto merge = DataSetMerge::Open(target);
  if (!merge.ok()) return merge.status();
  RecordImport import(std::move(merge.value()), now);
  import.index_ = std::make_unique<DuplicateIndex>(import.merge_.records(), rules, import.stamps_);
  return import;
}

void RecordImport::SettleStamp(std::string& record) {
  const std::string_view stamp = Field(record, l::kModified);
  if (IsReadableStamp(stamp) && !stamps_.Contains(stamp)) {
    stamps_.Add(stamp);
    return;
  }
  record.replace(l::kModified.offset, l::kModified.width, stamps_.TakeBackFrom(next_stamp_));
  ++restamped_;
}

void RecordImport::CollectKeywords(std::string_view record) {
  for (l::Span slot : {l::kKW1, l::kKW2, l::kKW3}) {
    const std::string_view keyword = TrimView(Field(record, slot));
    if (!keyword.empty()) merge_.CollectKeyword(keyword);
  }
}

RecordImport::Step RecordImport::Take(ImportKind kind, std::string_view incoming) {
  // One buffer for every record of a run: no allocation per record.
  std::string& record = record_;
  if (kind == ImportKind::kDos) {
    record = ContactOfDos(incoming);
  } else {
    record.assign(incoming.substr(0, l::kContactRecordLength));
  }
  const DuplicateIndex::Decision decision =
      index_->Decide({Field(record, l::kFirstName), Field(record, l::kLastName),
                      Field(record, l::kOrg), Field(record, l::kModified)});
  existing_stamp_.clear();
  if (decision.number > 0) {
    existing_stamp_.assign(Field(merge_.Record(decision.number), l::kModified));
  }
  if (decision.verdict == DuplicateIndex::Verdict::kSkip) {
    report_.Skipped();
    return {decision.verdict, existing_stamp_};
  }
  const bool replacing = decision.verdict == DuplicateIndex::Verdict::kReplace;
  if (replacing) {
    const std::string_view existing = merge_.Record(decision.number);
    if (kind == ImportKind::kDos) record = DosReplacement(existing, incoming);
    // The replaced record's stamp leaves with it, so the record that takes
    // its place may keep it.
    stamps_.Remove(Field(existing, l::kModified));
  }
  SettleStamp(record);
  CollectKeywords(record);
  const std::string_view first = Field(record, l::kFirstName);
  const std::string_view last = Field(record, l::kLastName);
  const std::string_view org = Field(record, l::kOrg);
  const std::string_view type = Field(record, l::kRecType);
  if (!IsIndividual(type) && !IsOrganisation(type)) report_.UnknownType();
  if (replacing) {
    report_.Replaced(first, last, org);
    index_->Replaced(decision.number, Field(record, l::kModified));
    merge_.Replace(decision.number, record);
  } else {
    report_.Added(first, last, org);
    merge_.Add(record);
  }
  return {decision.verdict, existing_stamp_};
}

}  // namespace tabrel
