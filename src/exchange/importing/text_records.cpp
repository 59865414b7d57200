#include "exchange/importing/text_records.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "exchange/formats/comma_reader.h"
#include "exchange/formats/ldif_reader.h"
#include "exchange/importing/back_reading.h"
#include "store/layout.h"

namespace tabrel {
namespace {

// The share of a large LDIF file the thread that adds the records reads:
// the smaller, as that thread also stamps and writes every record.
constexpr double kFrontShare = 0.4;

// What an entry of the back of a file became, read on the second thread:
// a record written with no stamp yet, or a reason it was skipped.
struct LdifEntry {
  LdifOutcome outcome = LdifOutcome::kNoContact;
  std::string record;
  std::size_t replaced = 0;
  std::size_t cut = 0;
};

// The type of the record an entry becomes; 0 for one that becomes none.
char TypeOf(LdifOutcome outcome) {
  switch (outcome) {
    case LdifOutcome::kIndividual:
      return '1';
    case LdifOutcome::kOrganisation:
      return '2';
    case LdifOutcome::kChange:
    case LdifOutcome::kGroup:
    case LdifOutcome::kNoContact:
      break;
  }
  return 0;
}

void CountSkipped(LdifOutcome outcome, LdifSkipped& skipped) {
  if (outcome == LdifOutcome::kChange) ++skipped.changes;
  if (outcome == LdifOutcome::kGroup) ++skipped.groups;
  if (outcome == LdifOutcome::kNoContact) ++skipped.no_contact;
}

}  // namespace

std::size_t AddCommaRecords(std::string_view text, const CommaImportOptions& options,
                            std::string_view keyword, NewRecordsImport& import,
                            const ImportProgress& progress) {
  CommaReader reader(text);
  std::vector<std::string> fields;
  CommaColumns columns;
  if (options.header && reader.Next(fields)) columns = CommaColumns(fields);
  RecordBuilder record;
  std::size_t read = 0;
  std::size_t blank = 0;
  while (reader.Next(fields)) {
    if (progress) progress(++read);
    columns.Complete(fields);
    if (const auto type = ContactFromComma(fields, columns, options, record, &import.left_out())) {
      import.Add(record, *type, keyword);
    } else {
      ++blank;
    }
  }
  return blank;
}

std::size_t AddAgentRecords(std::string_view text, NewRecordsImport& import,
                            const ImportProgress& progress) {
  std::size_t read = 0;
  AgentReader reader(text);
  AgentEntry entry;
  RecordBuilder built;
  std::size_t skipped = 0;
  while (reader.Next(entry)) {
    if (progress) progress(++read);
    if (!entry.HasNameOrAddress()) {
      ++skipped;
      continue;
    }
    ContactFromAgent(entry, built);
    import.Add(built, '1', kAgentKeyword);
  }
  return skipped;
}

LdifSkipped AddLdifRecords(std::string_view text, NewRecordsImport& import,
                           const ImportProgress& progress, bool extras_to_notes) {
  // The back of a large file is read on a second thread while this one
  // reads the front and adds every record, in file order.
  std::size_t split = text.size();
  if (ReadInTwo(text.size())) {
    const auto from = static_cast<std::size_t>(static_cast<double>(text.size()) * kFrontShare);
    split = std::min(split, LdifRecordStartFrom(text, from));
  }
  LdifReader back(text.substr(split));
  LeftOut back_left_out;
  std::optional<BackReading<LdifEntry>> back_read;
  if (split < text.size()) {
    back_read.emplace(
        [&, record = LdifRecord(), built = RecordBuilder()](LdifEntry& entry) mutable {
          if (!back.Next(record)) return false;
          entry.outcome = ContactFromLdif(record, built, &back_left_out, extras_to_notes);
          if (const char type = TypeOf(entry.outcome)) {
            entry.record.resize(layout::kContactRecordLength);
            built.Write(std::span<char>(entry.record), type, kLdifKeyword, {});
            entry.replaced = built.replaced();
            entry.cut = built.cut();
          }
          return true;
        });
  }
  std::size_t read = 0;
  LdifSkipped skipped;
  LdifReader reader(text.substr(0, split));
  LdifRecord record;
  RecordBuilder built;
  while (reader.Next(record)) {
    if (progress) progress(++read);
    const LdifOutcome outcome = ContactFromLdif(record, built, &import.left_out(), extras_to_notes);
    if (const char type = TypeOf(outcome)) {
      import.Add(built, type, kLdifKeyword);
    } else {
      CountSkipped(outcome, skipped);
    }
  }
  if (back_read) {
    for (std::vector<LdifEntry> batch; back_read->Take(batch);) {
      for (const LdifEntry& entry : batch) {
        if (progress) progress(++read);
        if (TypeOf(entry.outcome)) {
          import.AddWritten(entry.record, kLdifKeyword, entry.replaced, entry.cut);
        } else {
          CountSkipped(entry.outcome, skipped);
        }
      }
    }
    for (const auto& [kind, n] : back_left_out.kinds()) import.left_out().Count(kind, n);
  }
  skipped.bad_lines = reader.bad_lines() + back.bad_lines();
  return skipped;
}

std::string LdifSkippedText(const LdifSkipped& skipped) {
  std::vector<std::string> reasons;
  auto add = [&reasons](std::size_t n, const char* one, const char* many) {
    if (n > 0) reasons.push_back(std::to_string(n) + " " + (n == 1 ? one : many));
  };
  add(skipped.changes, "change to a directory (modify, delete or rename)",
      "changes to a directory (modify, delete or rename)");
  add(skipped.groups, "group or mailing list", "groups or mailing lists");
  add(skipped.no_contact, "entry without a name, organization or e-mail address",
      "entries without a name, organization or e-mail address");
  std::string text;
  if (const std::size_t n = skipped.entries(); n > 0) {
    text = std::to_string(n) + (n == 1 ? " entry was" : " entries were") + " skipped: ";
    for (std::size_t i = 0; i < reasons.size(); ++i) {
      if (i > 0) text += i + 1 == reasons.size() ? " and " : ", ";
      text += reasons[i];
    }
    text += ".";
  }
  if (skipped.bad_lines > 0) {
    if (!text.empty()) text += "\r\n";
    text += std::to_string(skipped.bad_lines) +
            (skipped.bad_lines == 1 ? " line could not be read and was"
                                    : " lines could not be read and were") +
            " left out.";
  }
  return text;
}

std::string AgentSkippedText(std::size_t skipped) {
  return std::to_string(skipped) + (skipped == 1 ? " entry was" : " entries were") +
         " skipped: they have neither a name nor an e-mail address.";
}

}  // namespace tabrel
