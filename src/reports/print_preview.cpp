#include "reports/print_preview.h"

#include <algorithm>
#include <vector>

#include "base/codec.h"
#include "base/command_line.h"
#include "base/text.h"
#include "present/progress_throttle.h"
#include "present/record_list.h"
#include "present/shown_records.h"
#include "reports/list_printing.h"
#include "reports/report_file.h"

namespace tabrel {
namespace {

constexpr const char* kErrorTitle = "Error!";

// Line ends as the files keep them: CR LF, whatever the text box gave back.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out.append("\r\n");
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

PrintPreview::PrintPreview(AppState& state, PreviewView& view, MenuSwitch& menus,
                           Platform& platform)
    : state_(state), view_(view), menus_(menus), platform_(platform), shell_(platform.shell) {}

std::string PrintPreview::PreviewPath() const {
  return state_.ProgramFile(kPreviewFileName);
}

void PrintPreview::mu_SimplePhoneList_Click(Grid& list) {
  RunReport(list, SimplePhoneList, true);
}

void PrintPreview::mu_PrintPhoneList_Click(Grid& list) {
  RunReport(list, CompletePhoneList, true);
}

void PrintPreview::mu_PrintCompleteRecords_Click(Grid& list) {
  const SettingsRecord& settings = state_.settings;
  RunReport(
      list,
      [&settings](StoredRecords records, const ReportProgress& progress) {
        return CompleteRecordsText(records, settings, progress);
      },
      false);
}

void PrintPreview::mu_PrintComplete_HTML_Click(Grid& list) {
  HtmlPage page;
  page.include_without_web =
      platform_.dialogs.Show({"Do you wish to include records which will not have \"clickable\" "
                              "links?",
                              "Confirm", MessageIcon::kQuestion, MessageButtons::kYesNo,
                              MessageAnswer::kNo}) == MessageAnswer::kYes;
  page.today = platform_.clock.Now();
  page.home_page = kMakerHomePage;
  const SettingsRecord& settings = state_.settings;
  RunReport(
      list,
      [&settings, &page](StoredRecords records, const ReportProgress& progress) {
        return CompleteRecordsHtml(records, settings, page, progress);
      },
      false);
}

void PrintPreview::mu_printMailingAddresses_Click(Grid& list) {
  label_mode_ = true;
  RunReport(list, AddressLabels, false);
}

void PrintPreview::mu_printEmail_Click(Grid& list) {
  const SettingsRecord& settings = state_.settings;
  RunReport(
      list,
      [&settings](StoredRecords records, const ReportProgress& progress) {
        return EmailList(records, settings, progress);
      },
      false);
}

void PrintPreview::RunReport(Grid& list, const Builder& build, bool retry) {
  menus_.BlankMenu();
  view_.SetBusy(true);
  list.SetRow(1);
  list.SetCol(kIdColumn);
  for (int attempt = 1;; ++attempt) {
    Result<std::string> report = MakeReport(list, build);
    if (report.ok()) {
      list.SetRow(list.Rows() - 1);
      ShowPreviewOf(report.value());
      return;
    }
    view_.SetPreviewText("");
    view_.SetProgressVisible(false);
    view_.SetBusy(false);
    const std::string& why = report.status().description();
    if (retry && attempt == 1) {
      // The user may free the disk or close the file in between.
      platform_.dialogs.Show(
          {why, kErrorTitle, MessageIcon::kCritical, MessageButtons::kOk, std::nullopt});
      view_.SetBusy(true);
      continue;
    }
    platform_.dialogs.Show({why + "\r\nThe list could not be made.", kErrorTitle,
                            MessageIcon::kCritical, MessageButtons::kOk, std::nullopt});
    CancelPrint_Click();
    return;
  }
}

Result<std::string> PrintPreview::MakeReport(Grid& list, const Builder& build) {
  auto shown = RecordsOfShownRows(state_, list, index_buffer_);
  if (!shown.ok()) return shown.status();
  const std::vector<std::string_view>& records = shown.value().records;
  view_.SetProgressVisible(true);
  view_.SetProgressRange(1, std::max(static_cast<int>(records.size()), 2));
  const ProgressThrottle throttle([this](int done) { view_.SetProgressValue(done); },
                                  static_cast<int>(records.size()));
  std::string text = build(records, [&throttle](int done) { throttle.Step(done); });
  if (Status s = WriteReportFile(PreviewPath(), text); !s.ok()) return s;
  return text;
}

void PrintPreview::ShowPreview() {
  auto content = ReadReportFile(PreviewPath());
  if (!content.ok()) {
    view_.SetBusy(false);
    ShowFailure(content.status().ErrorLine() + "\r\nThe list cannot be shown.");
    CancelPrint_Click();
    return;
  }
  ShowPreviewOf(content.value());
}

void PrintPreview::ShowPreviewOf(std::string_view content) {
  view_.SetProgressVisible(false);
  view_.SetToolbarVisible(false);
  view_.SetAllRecordsVisible(false);
  view_.SetPrintOptionsVisible(true);
  if (label_mode_) view_.SetPreviewFixedPitch(true);

  // The box begins with an empty line: every line is put after a line end.
  const int limit = state_.settings.PreviewLines;
  std::string text;
  int count = 0;
  preview_complete_ = true;
  std::string_view line;
  while (NextReportLine(content, line)) {
    text.append("\r\n").append(line);
    if (++count > limit) {
      preview_complete_ = false;
      text.append("\r\n\r\nnot all is displayed...");
      break;
    }
  }
  view_.SetPreviewText(DecodeCp1252(text));
  view_.SetBusy(false);
  view_.SetPreviewVisible(true);
  view_.SetPreviewReadOnly(!preview_complete_);
  if (!preview_complete_) {
    platform_.dialogs.Show(
        {"This list exceeds the size limit you have set for the built-in viewer. In order to edit "
         "it prior to printing, you must use your word processor or web browser. Note that you "
         "can adjust the preview length in Settings.",
         "Attention!", MessageIcon::kInformation, MessageButtons::kOk, std::nullopt});
  }
}

Status PrintPreview::WritePreviewBack() {
  std::string bytes = EncodeCp1252(WithCrLf(view_.PreviewText())).bytes;
  bytes.append("\r\n");
  return WriteReportFile(PreviewPath(), bytes);
}

bool PrintPreview::WriteBackIfComplete() {
  if (!preview_complete_) return true;
  if (Status s = WritePreviewBack(); !s.ok()) {
    ShowFailure(s.ErrorLine() + "\r\nThe edited list could not be saved.");
    return false;
  }
  return true;
}

std::optional<std::string> PrintPreview::ReadPreviewFile() {
  if (!ReportFileExists(PreviewPath())) {
    ShowPreviewGone();
    return std::nullopt;
  }
  auto content = ReadReportFile(PreviewPath());
  if (!content.ok()) {
    ShowFailure(content.status().ErrorLine());
    return std::nullopt;
  }
  return std::move(content.value());
}

void PrintPreview::SendPrint_Click() {
  if (label_mode_) {
    // Labels print from the file as the report wrote it: the preview's
    // leading empty line would move every label down by one line.
    auto content = ReadPreviewFile();
    if (!content) return;
    if (Status s = PrintLabels(platform_.printer, *content); !s.ok()) {
      ShowPrinterFailure(s, "The labels were not printed completely.");
    }
    return;
  }
  view_.SetBusy(true);
  std::optional<std::string> content;
  if (WriteBackIfComplete()) content = ReadPreviewFile();
  Status printed = Status::Ok();
  if (content) printed = PrintList(platform_.printer, *content, state_.settings.PrintLines);
  view_.SetBusy(false);
  if (!printed.ok()) ShowPrinterFailure(printed, "The list was not printed completely.");
}

void PrintPreview::SendFile_Click() {
  if (!WriteBackIfComplete()) return;
  const auto answer =
      platform_.dialogs.Input("You must supply a complete path and file name.", "File Name?", "");
  if (answer && !answer->empty()) {
    // A bare name goes beside the preview file, not into whatever folder
    // the process happens to run in.
    const std::string target = answer->front() == '/' ? *answer : state_.program_folder + *answer;
    if (Status s = MoveReportFile(PreviewPath(), target); !s.ok()) {
      platform_.dialogs.Show({s.description() + ": " + std::to_string(s.number()), "",
                              MessageIcon::kNone, MessageButtons::kOk, std::nullopt});
    }
  }
  view_.SetBusy(false);
}

void PrintPreview::PrintToFile_Click() {
  HandOff(kWordProcessorFileName, state_.settings.Editor, "word processor");
}

void PrintPreview::PrintToHTML_Click() {
  HandOff(kBrowserFileName, state_.settings.Browser, "web browser");
}

void PrintPreview::HandOff(const char* file_name, const std::string& program_setting,
                           std::string_view program_kind) {
  if (!WriteBackIfComplete()) return;
  if (!ReportFileExists(PreviewPath())) {
    ShowPreviewGone();
    return;
  }
  const std::string target = state_.ProgramFile(file_name);
  Status s = RemoveReportFile(target);
  // A complete preview is in the text box, so its file can move; a cut one
  // exists only in the file.
  if (s.ok())
    s = preview_complete_ ? MoveReportFile(PreviewPath(), target)
                          : CopyReportFile(PreviewPath(), target);
  if (!s.ok()) {
    ShowFailure(s.ErrorLine() + "\r\nThe list could not be handed on.");
    return;
  }

  const std::string program = DecodeCp1252(Trim(program_setting));
  if (program.empty()) {
    if (Status opened = shell_.OpenWithDefault(target); !opened.ok()) {
      ShowFailure("No program could open " + target + ":\r\n" + opened.description() +
                  "\r\nName a " + std::string(program_kind) + " program in Settings.");
    }
    return;
  }
  std::vector<std::string> argv = SplitCommandLine(program);
  argv.push_back(target);
  if (Status started = shell_.StartProgram(argv); !started.ok()) {
    ShowFailure("The " + std::string(program_kind) + " could not be started:\r\n" + argv.front() +
                "\r\n" + started.description() +
                "\r\nCheck its program in Settings. The list is in " + target + ".");
  }
}

void PrintPreview::CancelPrint_Click() {
  menus_.ShowMenu();
  view_.SetPreviewFixedPitch(false);
  label_mode_ = false;
  view_.SetPreviewText("");
  view_.SetPreviewVisible(false);
  view_.SetPrintOptionsVisible(false);
  view_.SetToolbarVisible(true);
  view_.SetAllRecordsVisible(true);
}

void PrintPreview::Envelope_Click() {
  if (platform_.dialogs.Show({"Do you have an envelope ready in the printer?",
                              "Ready to print envelope!", MessageIcon::kQuestion,
                              MessageButtons::kYesNo, std::nullopt}) != MessageAnswer::kYes) {
    return;
  }
  if (Status s = PrintEnvelope(platform_.printer, state_.editor_record, state_.settings); !s.ok()) {
    ShowPrinterFailure(s, "The envelope was not printed.");
  }
}

void PrintPreview::ShowPreviewGone() {
  ShowFailure("The list is no longer in " + PreviewPath() +
              ": File has moved it. Run the report again to print it or to hand it on.");
}

void PrintPreview::ShowFailure(const std::string& text) {
  platform_.dialogs.Show(
      {text, kErrorTitle, MessageIcon::kExclamation, MessageButtons::kOk, std::nullopt});
}

void PrintPreview::ShowPrinterFailure(const Status& status, std::string_view what) {
  // A page setting that cannot fit is no device error: no error number.
  const bool limit = status.number() == error_number::kOverflow;
  ShowFailure((limit ? status.description() : status.ErrorLine()) + "\r\n" + std::string(what));
}

}  // namespace tabrel
