#include "exchange/importing/import_plan.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "exchange/formats/vcard_reader.h"
#include "exchange/importing/back_reading.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "store/file_info.h"
#include "store/file_reader.h"
#include "store/record_text_check.h"

namespace tabrel {
namespace {

// The most structure faults a refusal lists; the rest are counted.
constexpr std::size_t kListedProblems = 10;

// The share of a large vCard file the thread that decides the cards reads:
// the smaller, as that thread also stamps and writes every card.
constexpr double kFrontShare = 0.32;

// The import into `target` for the plan; false, with the failure in the
// plan, when its data files cannot be read.
bool OpenImport(ImportPlan& plan, const AppState& target, DuplicateRules rules,
                const LocalDateTime& now, bool write_ahead) {
  auto opened = RecordImport::Open(target, rules, now, write_ahead);
  if (!opened.ok()) {
    plan.failure = opened.status();
    return false;
  }
  plan.import = std::move(opened.value());
  return true;
}

std::string ProblemsText(const std::vector<VcardProblem>& problems) {
  std::string text = "This file is not a sound vCard file, so nothing was imported:";
  for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
    text += "\r\nLine " + std::to_string(problems[i].line) + ": " + problems[i].text;
  }
  if (problems.size() > kListedProblems) {
    text += "\r\n...and " + std::to_string(problems.size() - kListedProblems) + " more.";
  }
  return text;
}

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

// Decides the records of a record file of `size` bytes, which `scan` hands
// over a run at a time, in one pass: each record is checked for text as it
// is decided, and the decisions are dropped when the check fails.
ImportPlan PlanRecordRuns(const AppState& target, ImportKind kind, std::uint64_t size,
                          const std::string& name, DuplicateRules rules, const LocalDateTime& now,
                          const PlanProgress& progress, bool write_ahead,
                          const std::function<Status(const FileReader::RunVisitor&)>& scan) {
  ImportPlan plan;
  const std::size_t length = RecordLengthOf(kind);
  const std::size_t count = size / length;
  const bool whole = size > 0 && size % length == 0;
  plan.file = {true, size, 0, count, whole};
  if (!whole) {
    plan.refusal = NotRecordsText(kind);
    return plan;
  }
  if (!OpenImport(plan, target, rules, now, write_ahead)) return plan;
  std::size_t taken = 0;
  RecordTextCheck check(length);
  const Status read = scan([&](std::string_view run, std::size_t) {
    for (std::size_t at = 0; at < run.size(); at += length) {
      check.Take(run.substr(at, length));
      plan.import.Take(kind, run.substr(at, length));
      if (progress) progress(++taken, count);
    }
    return true;
  });
  if (!read.ok()) {
    plan.failure = read;
    plan.import = RecordImport();
  } else if (Status s = check.Verdict(name); !s.ok()) {
    plan.refusal = s.description();
    plan.import = RecordImport();
  }
  return plan;
}

ImportPlan PlanRecords(const AppState& target, const ImportSource& source, DuplicateRules rules,
                       const LocalDateTime& now, const PlanProgress& progress) {
  auto opened = FileReader::Open(source.path, FileReader::Missing::kFail);
  Result<FileInfo> info = opened.ok() ? LookAt(opened.value()) : opened.status();
  if (!info.ok()) {
    ImportPlan plan;
    plan.failure = info.status();
    return plan;
  }
  const FileReader& file = opened.value();
  ImportPlan plan =
      PlanRecordRuns(target, source.kind, file.size(), source.path, rules, now, progress,
                     source.write_ahead, [&](const FileReader::RunVisitor& visit) {
                       return file.ScanRecords(RecordLengthOf(source.kind), visit);
                     });
  plan.file.modified = info.value().modified;
  return plan;
}

ImportPlan PlanVcards(const AppState& target, const ImportSource& source, DuplicateRules rules,
                      const LocalDateTime& now, const PlanProgress& progress) {
  ImportPlan plan;
  auto info = LookAt(source.path);
  auto bytes = info.ok() ? ReadChosenFile(source.path) : Result<std::string>(info.status());
  if (!bytes.ok()) {
    plan.failure = bytes.status();
    return plan;
  }
  return PlanVcardBytes(target, std::move(bytes.value()), info.value().modified, rules, now,
                        progress, source.extras_to_notes, source.write_ahead);
}

}  // namespace

ImportPlan PlanRecordBytes(const AppState& target, ImportKind kind, std::string_view bytes,
                           const std::string& name, DuplicateRules rules, const LocalDateTime& now,
                           const PlanProgress& progress, bool write_ahead) {
  // Whole records only reach the scan: a partial one is refused before it.
  return PlanRecordRuns(target, kind, bytes.size(), name, rules, now, progress, write_ahead,
                        [&](const FileReader::RunVisitor& visit) {
                          visit(bytes, 0);
                          return Status::Ok();
                        });
}

ImportPlan PlanVcardBytes(const AppState& target, std::string bytes, std::time_t modified,
                          DuplicateRules rules, const LocalDateTime& now,
                          const PlanProgress& progress, bool extras_to_notes, bool write_ahead) {
  ImportPlan plan;
  const std::size_t begun = CountCardsBegun(bytes);
  plan.file = {true, bytes.size(), modified, begun, begun > 0};
  // A file that begins no card at all is no vCard file; one that does must
  // have every card whole.
  if (begun == 0) {
    plan.refusal = NotRecordsText(ImportKind::kVcard);
    return plan;
  }
  if (!OpenImport(plan, target, rules, now, write_ahead)) return plan;
  plan.import.Reserve(begun);
  const bool in_two = ReadInTwo(bytes.size());
  VcardParser parser(std::move(bytes));
  // The back of a large file is read on a second thread while this one
  // reads the front and decides every card, in file order.
  std::unique_ptr<VcardParser> back;
  if (in_two) back = parser.SplitOff(kFrontShare);
  LeftOut back_left_out;
  std::optional<BackReading<VcardEntry>> back_read;
  if (back) {
    back_read.emplace([&, card = VcardCard()](VcardEntry& entry) mutable {
      if (!back->Next(card)) return false;
      EntryOfCard(card, entry, &back_left_out, extras_to_notes);
      return true;
    });
  }
  LeftOut left_out;
  std::size_t empty = 0, replaced = 0, cut = 0, dropped = 0, taken = 0;
  const auto take = [&](const VcardEntry& entry) {
    if (entry.empty) {
      ++empty;
    } else {
      plan.import.TakeNew(entry.record, entry.dated_as, entry.privacy_given);
      replaced += entry.replaced;
      cut += entry.cut;
      dropped += entry.dropped_keywords;
    }
    ++taken;
    if (progress) progress(taken, std::max(begun, taken));
  };
  VcardCard card;
  VcardEntry entry;
  while (parser.Next(card)) {
    EntryOfCard(card, entry, &left_out, extras_to_notes);
    take(entry);
  }
  std::vector<VcardProblem> problems = parser.problems();
  // Unless the front read on past where the back began, inside a card:
  // then the back's cards are not the file's.
  if (back && parser.split()) {
    for (std::vector<VcardEntry> batch; back_read->Take(batch);) {
      for (const VcardEntry& read : batch) take(read);
    }
    for (const auto& [kind, n] : back_left_out.kinds()) left_out.Count(kind, n);
    problems.insert(problems.end(), back->problems().begin(), back->problems().end());
  }
  back_read.reset();
  if (!problems.empty()) {
    plan.refusal = ProblemsText(problems);
    plan.import = RecordImport();
    return plan;
  }
  plan.file.entries = taken;
  if (empty > 0) {
    plan.import.Note(Count(empty, " card held", " cards held") + " nothing a record can keep and " +
                     (empty == 1 ? "was" : "were") + " left out.");
  }
  if (replaced > 0) {
    plan.import.Note(Count(replaced, " character", " characters") +
                     " could not be stored in this program's character set and became \"?\".");
  }
  if (cut > 0) {
    plan.import.Note(Count(cut, " value was", " values were") +
                     " longer than its field and cut to fit.");
  }
  if (dropped > 0) {
    plan.import.Note(Count(dropped, " category", " categories") +
                     " past the third of a card could not become keywords.");
  }
  if (!left_out.empty()) plan.import.Note(LeftOutText(left_out));
  return plan;
}

Result<ImportFileFacts> LookAtImportFile(const ImportSource& source) {
  auto info = LookAt(source.path);
  if (!info.ok()) return info.status();
  ImportFileFacts facts;
  facts.exists = info.value().exists;
  facts.size = info.value().size;
  facts.modified = info.value().modified;
  if (!facts.exists || !info.value().is_regular) return facts;
  if (source.kind == ImportKind::kVcard) {
    auto bytes = ReadChosenFile(source.path);
    if (!bytes.ok()) return bytes.status();
    facts.entries = CountCardsBegun(bytes.value());
    facts.importable = facts.entries > 0;
    return facts;
  }
  const std::size_t length = RecordLengthOf(source.kind);
  facts.entries = facts.size / length;
  facts.importable = facts.size > 0 && facts.size % length == 0;
  return facts;
}

std::string EntriesText(ImportKind kind, std::size_t entries) {
  switch (kind) {
    case ImportKind::kNative:
      break;
    case ImportKind::kDos:
      return "This file contains " + std::to_string(entries) +
             (entries == 1 ? " DOS version Tabrel record," : " DOS version Tabrel records,");
    case ImportKind::kVcard:
      return "This file contains " + std::to_string(entries) +
             (entries == 1 ? " vCard," : " vCards,");
  }
  return "This file contains " + std::to_string(entries) +
         (entries == 1 ? " Tabrel 3 record," : " Tabrel 3 records,");
}

std::string NotRecordsText(ImportKind kind) {
  switch (kind) {
    case ImportKind::kNative:
      break;
    case ImportKind::kDos:
      return "This file does not contain DOS Tabrel records, or they are corrupt";
    case ImportKind::kVcard:
      return "This file does not contain vCards (no BEGIN:VCARD ... END:VCARD).";
  }
  return "This file does not contain Tabrel 3 records, or they are corrupt";
}

ImportPlan PlanImport(const AppState& target, const ImportSource& source, DuplicateRules rules,
                      const LocalDateTime& now, const PlanProgress& progress) {
  return source.kind == ImportKind::kVcard ? PlanVcards(target, source, rules, now, progress)
                                           : PlanRecords(target, source, rules, now, progress);
}

}  // namespace tabrel
