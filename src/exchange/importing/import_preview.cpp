#include "exchange/importing/import_preview.h"

namespace tabrel {

std::string ImportPreview::Counts() const {
  return std::to_string(added) + " to add, " + std::to_string(replaced) + " to replace, " +
         std::to_string(skipped) + " to skip (duplicates).";
}

std::string ImportPreview::Text(std::string_view line_end) const {
  std::string text;
  for (const std::string& line : lines) text.append(line).append(line_end);
  text.append(Counts()).append(line_end);
  if (!limit.ok()) text.append(limit.ErrorLine()).append(line_end);
  return text;
}

ImportPreview PreviewOf(const RecordImport& import) {
  ImportPreview preview;
  preview.lines.reserve(import.decisions().size());
  for (const ImportDecision& decision : import.decisions()) {
    preview.lines.push_back(RecordImport::DecisionText(decision));
  }
  preview.added = import.report().added();
  preview.replaced = import.report().replaced();
  preview.skipped = import.report().skipped();
  preview.limit = import.merge().CheckLimit();
  return preview;
}

Result<ImportPreview> PreviewImport(const AppState& target, ImportKind kind,
                                    std::string_view records, DuplicateRules rules,
                                    const LocalDateTime& now) {
  auto opened = RecordImport::Open(target, rules, now);
  if (!opened.ok()) return opened.status();
  RecordImport& import = opened.value();
  const std::size_t length = RecordLengthOf(kind);
  import.Reserve(records.size() / length);
  for (std::size_t at = 0; at + length <= records.size(); at += length) {
    import.Take(kind, records.substr(at, length));
  }
  return PreviewOf(import);
}

}  // namespace tabrel
