#include "exchange/importing/record_import.h"

#include <algorithm>

#include "base/text.h"
#include "exchange/formats/dos_record.h"
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
                                        const LocalDateTime& now, bool write_ahead) {
  auto merge = DataSetMerge::Open(target);
  if (!merge.ok()) return merge.status();
  RecordImport import(std::move(merge.value()), now);
  if (write_ahead) import.merge_.WriteAddedAhead();
  import.index_ = std::make_unique<DuplicateIndex>(import.merge_.records(), rules, import.stamps_);
  return import;
}

void RecordImport::Reserve(std::size_t records) {
  stamps_.Reserve(records);
  decisions_.reserve(decisions_.size() + records);
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

const ImportDecision& RecordImport::Take(ImportKind kind, std::string_view incoming) {
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
  if (kind == ImportKind::kDos && decision.verdict == DuplicateIndex::Verdict::kReplace) {
    record = DosReplacement(merge_.Record(decision.number), incoming);
  }
  return Apply(decision, false);
}

const ImportDecision& RecordImport::TakeNew(std::string_view incoming, std::string_view dated_as,
                                            bool privacy_given) {
  std::string& record = record_;
  record.assign(incoming.substr(0, l::kContactRecordLength));
  const DuplicateIndex::Decision decision =
      index_->Decide({Field(record, l::kFirstName), Field(record, l::kLastName),
                      Field(record, l::kOrg), dated_as});
  if (decision.verdict == DuplicateIndex::Verdict::kReplace && !privacy_given) {
    const std::string_view type = Field(record, l::kRecType);
    // "3" and "4" are the personal types.
    const std::string_view kept = Field(merge_.Record(decision.number), l::kRecType);
    const bool personal = kept == "3" || kept == "4";
    if (IsOrganisation(type)) record[l::kRecType.offset] = personal ? '4' : '2';
    if (IsIndividual(type)) record[l::kRecType.offset] = personal ? '3' : '1';
  }
  return Apply(decision, true);
}

const ImportDecision& RecordImport::Apply(const DuplicateIndex::Decision& decision,
                                          bool fresh_stamp) {
  std::string& record = record_;
  // Made in its place in the list: a name of its own for every record, and
  // no copy of it.
  ImportDecision& done =
      decisions_.emplace_back(ImportDecision{decision.verdict, decision.number, {}, {}});
  done.name.append(TrimView(Field(record, l::kFirstName))).append(" ");
  done.name.append(TrimView(Field(record, l::kLastName))).append(" / ");
  done.name.append(TrimView(Field(record, l::kOrg)));
  if (decision.number > 0) {
    const std::string_view existing = Field(merge_.Record(decision.number), l::kModified);
    std::copy(existing.begin(), existing.end(), done.existing_stamp.begin());
  }
  if (decision.verdict == DuplicateIndex::Verdict::kSkip) {
    report_.Skipped();
    return done;
  }
  const bool replacing = decision.verdict == DuplicateIndex::Verdict::kReplace;
  if (replacing) {
    // The replaced record's stamp leaves with it, so the record that takes
    // its place may keep it.
    stamps_.Remove(Field(merge_.Record(decision.number), l::kModified));
  }
  if (fresh_stamp) {
    record.replace(l::kModified.offset, l::kModified.width, stamps_.TakeBackFrom(next_stamp_));
  } else {
    SettleStamp(record);
  }
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
  return done;
}

std::string RecordImport::DecisionText(const ImportDecision& decision) {
  const std::string stamp(
      TrimView(std::string_view(decision.existing_stamp.data(), decision.existing_stamp.size())));
  switch (decision.verdict) {
    case DuplicateIndex::Verdict::kAdd:
      break;
    case DuplicateIndex::Verdict::kReplace:
      return "replace " + stamp + ": " + decision.name;
    case DuplicateIndex::Verdict::kSkip:
      return "skip (duplicate of " + stamp + "): " + decision.name;
  }
  return "add: " + decision.name;
}

}  // namespace tabrel
