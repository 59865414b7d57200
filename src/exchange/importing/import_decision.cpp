#include "exchange/importing/import_decision.h"

#include "exchange/formats/comma_columns.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/text_records.h"

namespace tabrel {
namespace {

Result<DecidedImport> DecideNewRecords(const AppState& state, FormatId format,
                                       std::string_view text, const DecideOptions& options,
                                       const LocalDateTime& now, const ImportProgress& progress) {
  auto opened = NewRecordsImport::Open(state, now, options.write_ahead);
  if (!opened.ok()) return opened.status();
  DecidedImport decided;
  NewRecordsImport& import = decided.added.emplace(std::move(opened.value()));
  if (format == FormatId::kComma) {
    CommaImportOptions comma;
    comma.header = options.header.value_or(SurveyComma(text, false, false).header_likely);
    comma.individual = options.individual;
    comma.extras_to_notes = options.extras_to_notes;
    if (options.links) {
      comma.links = *options.links;
    } else {
      const CommaSurvey survey = SurveyComma(text, comma.header, false);
      comma.links = SuggestLinks(survey.columns, survey.sample);
    }
    if (!AnyLink(comma.links) && !comma.extras_to_notes) {
      decided.left_out = CommaLeftOutText(comma, 0);
      decided.refusal = decided.left_out + "\r\n" + std::string(kImportUnchanged);
      return decided;
    }
    decided.skipped = AddCommaRecords(text, comma, options.keyword, import, progress);
    decided.left_out = CommaLeftOutText(comma, decided.skipped);
  } else if (format == FormatId::kLdif) {
    const LdifSkipped skipped = AddLdifRecords(text, import, progress, options.extras_to_notes);
    decided.skipped = skipped.entries();
    decided.left_out = LdifSkippedText(skipped);
  } else {
    decided.skipped = AddAgentRecords(text, import, progress);
    if (decided.skipped > 0) decided.left_out = AgentSkippedText(decided.skipped);
  }
  return decided;
}

}  // namespace

Result<DecidedImport> DecideImport(const AppState& state, FormatId format, std::string input,
                                   const DecideOptions& options, const LocalDateTime& now,
                                   const ImportProgress& progress) {
  DecidedImport decided;
  switch (format) {
    case FormatId::kComma:
    case FormatId::kLdif:
    case FormatId::kAgent:
      return DecideNewRecords(state, format, input, options, now, progress);
    case FormatId::kVcard:
    case FormatId::kNative:
    case FormatId::kDos:
      break;
  }
  // The record formats and vCards are decided as the import window decides them.
  ImportPlan plan =
      format == FormatId::kVcard
          ? PlanVcardBytes(state, std::move(input), 0, options.rules, now, nullptr,
                           options.extras_to_notes, options.write_ahead)
          : PlanRecordBytes(
                state, format == FormatId::kDos ? ImportKind::kDos : ImportKind::kNative, input,
                options.input_name, options.rules, now, nullptr, options.write_ahead);
  if (!plan.failure.ok()) return plan.failure;
  decided.refusal = std::move(plan.refusal);
  decided.records.emplace(std::move(plan.import));
  return decided;
}

}  // namespace tabrel
