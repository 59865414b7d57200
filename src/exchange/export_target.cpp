#include "exchange/export_target.h"
#include "base/text_decoding.h"
#include "exchange/formats/comma_contact.h"

#include <vector>

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "store/backup.h"
#include "store/file_info.h"
#include "store/file_reader.h"

namespace tabrel {
namespace {

struct GuardedFile {
  const char* name;
  const char* what;
};
constexpr GuardedFile kDataSetFiles[] = {
    {kContactFileName, "the record file of a data set"},
    {kKeywordFileName, "the keyword file of a data set"},
    {kContactBackupName, "a backup file of a data set"},
    {kKeywordBackupName, "a backup file of a data set"},
};

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

std::string LeftOutNote(int missing) {
  if (missing <= 0) return "";
  const std::string rows =
      missing == 1 ? "1 row of the list was" : std::to_string(missing) + " rows of the list were";
  return rows +
         " left out: their records are no longer in the data set (changed or deleted since the "
         "list was filled).";
}

std::optional<std::string> ExportTargets::AskFileName(const std::string& prompt,
                                                      std::string_view default_name) const {
  const auto answer =
      dialogs_.Input(prompt, "Filename?", state_.export_folder + std::string(default_name));
  if (!answer || TrimView(*answer).empty()) return std::nullopt;
  return Resolve(*answer);
}

std::string ExportTargets::Resolve(std::string_view typed) const {
  const std::string name = Trim(typed);
  if (name.starts_with('/')) return name;
  return WithSlash(state_.export_folder) + name;
}

void ExportTargets::Refuse(const std::string& text) const {
  dialogs_.Show({text, "Error!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

bool ExportTargets::Acceptable(const std::string& path) const {
  auto target = LookAt(path);
  if (!target.ok()) {
    ReportDiskError(dialogs_, target.status(), "Nothing was exported.");
    return false;
  }
  if (!target.value().exists) return true;
  if (target.value().is_folder || !target.value().is_regular) {
    Refuse(Quoted(path) + " is not a file. Choose a file name for the export.");
    return false;
  }
  std::vector<std::string> folders = {state_.data_path, state_.program_folder};
  for (const std::string* alternate : {&state_.settings.Path1, &state_.settings.Path2}) {
    if (!IsBlank(*alternate)) folders.push_back(WithSlash(DecodeCp1252(Trim(*alternate))));
  }
  AppState probe(state_.program_folder);
  for (const std::string& folder : folders) {
    probe.data_path = folder;
    for (const GuardedFile& file : kDataSetFiles) {
      auto guarded = LookAt(probe.DataFile(file.name));
      if (guarded.ok() && SameFile(target.value(), guarded.value())) {
        Refuse(Quoted(path) + " is " + file.what + " (" + file.name +
               "). An export must not be written over it: choose another file name.");
        return false;
      }
    }
  }
  auto settings = LookAt(state_.ProgramFile(kSettingsFileName));
  if (settings.ok() && SameFile(target.value(), settings.value())) {
    Refuse(Quoted(path) +
           " is the settings file (tr30.ini). An export must not be written over it: choose "
           "another file name.");
    return false;
  }
  return true;
}

std::optional<ExportTarget> ExportTargets::AddingRecords(const std::string& path,
                                                         std::size_t record_length,
                                                         std::string_view what, int shown) const {
  auto info = LookAt(path);
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status(), "Nothing was exported.");
    return std::nullopt;
  }
  if (!info.value().exists || info.value().size == 0) return ExportTarget{path, "", 0};
  if (info.value().size % record_length != 0) {
    Refuse(Quoted(path) + " does not hold " + std::string(what) + ": its length is not a whole " +
           "number of " + std::to_string(record_length) +
           "-byte records, so nothing can be added to it. Choose another file name.");
    return std::nullopt;
  }
  auto file = FileReader::Open(path, FileReader::Missing::kFail);
  Result<std::string> bytes = file.ok() ? file.value().ReadRecords(record_length) : file.status();
  if (!bytes.ok()) {
    ReportDiskError(dialogs_, bytes.status(), "Nothing was exported.");
    return std::nullopt;
  }
  if (file.value().size() != info.value().size) {
    Refuse(Quoted(path) + " changed while it was read. Nothing was exported.");
    return std::nullopt;
  }
  const std::size_t held = bytes.value().size() / record_length;
  if (held == 0) return ExportTarget{path, "", 0};
  switch (dialogs_.Show({path + " already holds " + std::to_string(held) + " records. Add the " +
                             std::to_string(shown) + " shown records to them?",
                         "Export", MessageIcon::kQuestion, MessageButtons::kYesNoCancel,
                         MessageAnswer::kYes})) {
    case MessageAnswer::kYes:
      return ExportTarget{path, std::move(bytes.value()), held};
    case MessageAnswer::kNo:
      return ExportTarget{path, "", 0};
    default:
      return std::nullopt;
  }
}

std::optional<ExportTarget> ExportTargets::AddingText(const std::string& path, int shown) const {
  auto info = LookAt(path);
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status(), "Nothing was exported.");
    return std::nullopt;
  }
  if (!info.value().exists || info.value().size == 0) return ExportTarget{path, "", 0};
  switch (dialogs_.Show(
      {path + " already exists. Add the " + std::to_string(shown) + " shown records to it?",
       "Export", MessageIcon::kQuestion, MessageButtons::kYesNoCancel, MessageAnswer::kYes})) {
    case MessageAnswer::kYes:
      break;
    case MessageAnswer::kNo:
      return ExportTarget{path, "", 0};
    default:
      return std::nullopt;
  }
  auto file = FileReader::Open(path, FileReader::Missing::kFail);
  Result<std::string> bytes = file.ok() ? file.value().ReadRecords(1) : file.status();
  if (!bytes.ok()) {
    ReportDiskError(dialogs_, bytes.status(), "Nothing was exported.");
    return std::nullopt;
  }
  std::string kept = std::move(bytes.value());
  // The records it holds, its header left out.
  const CommaSurvey survey = SurveyComma(DecodeText(kept).text, true);
  const std::size_t held =
      survey.first.empty() ? 0 : survey.records + (survey.header_likely ? 0 : 1);
  if (!kept.empty() && kept.back() != '\n' && kept.back() != '\r') kept += "\r\n";
  return ExportTarget{path, std::move(kept), held};
}

std::optional<ExportTarget> ExportTargets::Replacing(const std::string& path,
                                                     const std::string& question,
                                                     const std::string& title) const {
  auto info = LookAt(path);
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status(), "Nothing was exported.");
    return std::nullopt;
  }
  if (info.value().exists &&
      dialogs_.Show({question, title, MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return std::nullopt;
  }
  return ExportTarget{path, "", 0};
}

void ReportExportFailure(Dialogs& dialogs, const Status& status, std::string_view consequence) {
  dialogs.Show({"Error " + std::to_string(status.number()) + " " + status.description() + "\r\n" +
                    std::string(consequence),
                "Error!",
                MessageIcon::kExclamation,
                MessageButtons::kOk,
                {}});
}

Status ExportTargets::Write(const ExportTarget& target,
                            std::span<const std::string_view> pieces) const {
  std::vector<std::string_view> all;
  all.reserve(pieces.size() + 1);
  all.push_back(target.kept);
  all.insert(all.end(), pieces.begin(), pieces.end());
  return AtomicRewrite(target.path, all, state_.write_fault);
}

}  // namespace tabrel
