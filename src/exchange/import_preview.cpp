#include "exchange/import_preview.h"

#include "base/text.h"

namespace tabrel {

std::string PreviewLine(const RecordImport::Step& step) {
  const std::string_view stamp = TrimView(step.existing);
  switch (step.verdict) {
    case DuplicateIndex::Verdict::kAdd:
      break;
    case DuplicateIndex::Verdict::kReplace:
      return "replace " + std::string(stamp);
    case DuplicateIndex::Verdict::kSkip:
      return "skip (duplicate of " + std::string(stamp) + ")";
  }
  return "add";
}

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

Result<ImportPreview> PreviewImport(const AppState& target, ImportKind kind,
                                    std::string_view records, DuplicateRules rules,
                                    const LocalDateTime& now) {
  auto opened = RecordImport::Open(target, rules, now);
  if (!opened.ok()) return opened.status();
  RecordImport& import = opened.value();
  const std::size_t length = RecordLengthOf(kind);
  ImportPreview preview;
  preview.lines.reserve(records.size() / length);
  for (std::size_t at = 0; at + length <= records.size(); at += length) {
    preview.lines.push_back(PreviewLine(import.Take(kind, records.substr(at, length))));
  }
  preview.added = import.report().added();
  preview.replaced = import.report().replaced();
  preview.skipped = import.report().skipped();
  preview.limit = import.merge().CheckLimit();
  return preview;
}

}  // namespace tabrel
