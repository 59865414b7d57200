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

char ContactFromComma(const std::vector<std::string>& fields, const CommaColumns& columns,
                      const CommaImportOptions& options, RecordBuilder& out) {
  out.Clear();
  std::string spare;
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
    if (!linked && !typed && options.extras_to_notes && !IsBlank(fields[k])) {
      spare.append(" ").append(fields[k]);
    }
  }
  if (options.extras_to_notes) out.AppendToNotes(spare);
  const bool named = out.Has(RecordField::kLastName) || out.Has(RecordField::kFirstName);
  if (options.individual) return named ? '1' : '2';
  return out.Has(RecordField::kOrg) ? '2' : '1';
}

}  // namespace tabrel
