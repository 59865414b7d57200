#include "exchange/formats/comma_contact.h"

#include "base/text.h"
#include "exchange/formats/comma_reader.h"

namespace tabrel {
namespace {

constexpr std::size_t kSampleRecords = 5;

}  // namespace

CommaSurvey SurveyComma(std::string_view text, bool header, bool count_all) {
  CommaSurvey survey;
  CommaReader reader(text);
  std::vector<std::string> fields;
  if (!reader.Next(fields)) return survey;
  survey.first = fields;
  survey.header_likely = LooksLikeHeader(fields);
  if (header) {
    survey.columns = CommaColumns(fields);
  } else {
    survey.records = 1;
    survey.sample.push_back(fields);
  }
  while ((count_all || survey.sample.size() < kSampleRecords) && reader.Next(fields)) {
    ++survey.records;
    if (survey.sample.size() < kSampleRecords) {
      survey.columns.Complete(fields);
      survey.sample.push_back(fields);
    }
  }
  return survey;
}

std::optional<char> ContactFromComma(const std::vector<std::string>& fields,
                                     const CommaColumns& columns, const CommaImportOptions& options,
                                     RecordBuilder& out, LeftOut* left_out) {
  out.Clear();
  std::string spare;
  std::string kind;
  const std::size_t typed_from = columns.named();
  const std::size_t typed_to = typed_from + columns.typed();
  for (std::size_t k = 0; k < fields.size(); ++k) {
    bool linked = false;
    for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
      if (options.links[f] != k + 1) continue;
      out.Set(static_cast<RecordField>(f), fields[k]);
      linked = true;
    }
    // The typed columns repeat values of the file's own.
    const bool typed = k >= typed_from && k < typed_to;
    if (linked || typed) continue;
    // Blank ones too: the notes keep the file's spacing of what follows.
    if (options.extras_to_notes) {
      spare.append(" ").append(fields[k]);
    } else if (left_out && !IsBlank(fields[k]) && !columns.FeedsTyped(k)) {
      const std::string_view name = columns.Name(k + 1);
      kind.assign("column ").append(name.empty() ? std::to_string(k + 1) : std::string(name));
      left_out->Count(kind);
    }
  }
  if (options.extras_to_notes) out.AppendToNotes(spare);
  bool any = false;
  for (std::size_t f = 0; f < kRecordFieldCount && !any; ++f) {
    any = out.Has(static_cast<RecordField>(f));
  }
  if (!any) return std::nullopt;
  const bool named = out.Has(RecordField::kLastName) || out.Has(RecordField::kFirstName);
  if (options.individual) return named ? '1' : '2';
  return out.Has(RecordField::kOrg) ? '2' : '1';
}

bool AnyLink(const CommaLinks& links) {
  for (const std::size_t column : links) {
    if (column != 0) return true;
  }
  return false;
}

std::string CommaLeftOutText(const CommaImportOptions& options, std::size_t blank) {
  if (!AnyLink(options.links) && !options.extras_to_notes) {
    return "No field is linked to a column of the file: no record was imported.";
  }
  if (blank == 0) return "";
  return std::to_string(blank) +
         (blank == 1 ? " record was left out: it" : " records were left out: they") +
         " would have been entirely blank.";
}

}  // namespace tabrel
