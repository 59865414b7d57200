#include "exchange/importing/text_records.h"

#include <vector>

#include "exchange/formats/comma_reader.h"
#include "exchange/formats/ldif_reader.h"

namespace tabrel {

void AddCommaRecords(std::string_view text, const CommaImportOptions& options,
                     std::string_view keyword, NewRecordsImport& import,
                     const ImportProgress& progress) {
  CommaReader reader(text);
  std::vector<std::string> fields;
  CommaColumns columns;
  if (options.header && reader.Next(fields)) columns = CommaColumns(fields);
  RecordBuilder record;
  std::size_t read = 0;
  while (reader.Next(fields)) {
    if (progress) progress(++read);
    columns.Complete(fields);
    const char type = ContactFromComma(fields, columns, options, record);
    import.Add(record, type, keyword);
  }
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
                           const ImportProgress& progress) {
  std::size_t read = 0;
  LdifSkipped skipped;
  LdifReader reader(text);
  LdifRecord record;
  RecordBuilder built;
  while (reader.Next(record)) {
    if (progress) progress(++read);
    switch (ContactFromLdif(record, built)) {
      case LdifOutcome::kIndividual:
        import.Add(built, '1', kLdifKeyword);
        break;
      case LdifOutcome::kOrganisation:
        import.Add(built, '2', kLdifKeyword);
        break;
      case LdifOutcome::kChange:
        ++skipped.changes;
        break;
      case LdifOutcome::kGroup:
        ++skipped.groups;
        break;
      case LdifOutcome::kNoContact:
        ++skipped.no_contact;
        break;
    }
  }
  skipped.bad_lines = reader.bad_lines();
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

}  // namespace tabrel
