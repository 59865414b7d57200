#include "exchange/comma_parse.h"

#include <algorithm>

#include "base/codec.h"
#include "base/text.h"
#include "base/text_decoding.h"
#include "exchange/import_window.h"
#include "exchange/importing/import_commit.h"
#include "exchange/importing/import_decision.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"

namespace tabrel {
namespace {

// A field's text on one line of the preview list.
std::string OnOneLine(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\u00B6";  // pilcrow: where the field breaks its line
    } else {
      out.push_back(text[i] == '\t' ? ' ' : text[i]);
    }
  }
  return out;
}

}  // namespace

CommaParse::CommaParse(const AppState& state, CommaParseView& view, MainListHost& host,
                       Dialogs& dialogs, Clock& clock, std::string path)
    : live_(state),
      target_(state),
      view_(view),
      host_(host),
      dialogs_(dialogs),
      clock_(clock),
      path_(std::move(path)) {}

void CommaParse::Tell(const std::string& text, const char* title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

void CommaParse::Form_Load() {
  view_.SetTargetText("The records go into the data set in " + target_.data_path);
  view_.SetKeyword(std::string(kCommaKeyword));
  view_.SetIndividual(false);
  view_.SetExtras(false);
  view_.SetEncoding(0);
  // The file is read once, when the window opens; it is decoded again only
  // when the encoding changes.
  auto bytes = ReadChosenFile(path_);
  if (bytes.ok()) {
    bytes_ = std::move(bytes.value());
  } else {
    read_ = bytes.status();
  }
  bool header = false;
  if (const auto& text = Decoded(); text.ok()) {
    header = SurveyComma(text.value().text, false, false).header_likely;
  }
  view_.SetHeaderBox(header);
  Reread(true);
}

const Result<DecodedText>& CommaParse::Decoded() {
  const std::string encoding(kTextEncodingChoices[view_.Encoding()].name);
  if (!text_ || encoding != decoded_as_) {
    decoded_as_ = encoding;
    if (!read_.ok()) {
      text_.emplace(read_);
    } else if (encoding.empty()) {
      text_.emplace(DecodeText(bytes_));
    } else {
      text_.emplace(DecodeTextAs(bytes_, encoding));
    }
  }
  return *text_;
}

void CommaParse::Reread(bool suggest) {
  const bool header = view_.HeaderBox();
  clicked_ = -1;
  entry_columns_.clear();
  const Result<DecodedText>& text = Decoded();
  std::string problem;
  if (!text.ok()) {
    problem = text.status().ErrorLine();
  } else if (HoldsNul(text.value().text)) {
    problem = "This is not a text file: it holds NUL characters, as program and data files do.";
  }
  if (!problem.empty()) {
    view_.SetFileText(Trim(path_) + "\r\n" + problem);
    view_.SetPreview({});
    columns_ = CommaColumns();
    columns_shown_ = 0;
    records_ = 0;
    links_ = {};
    ShowLinks();
    return;
  }
  const CommaSurvey survey = SurveyComma(text.value().text, header);
  std::string about =
      Trim(path_) + " appears to contain " + std::to_string(survey.records) + " records.";
  if (const std::size_t bad = text.value().invalid; bad > 0) {
    about += "\r\n" + std::to_string(bad) + (bad == 1 ? " character" : " characters") +
             " could not be read as " + text.value().encoding +
             ": another text encoding may suit the file better.";
  }
  view_.SetFileText(about);
  records_ = survey.records;
  columns_ = survey.columns;
  columns_shown_ = columns_.names().size();

  std::vector<std::string> entries;
  for (std::size_t r = 0; r < survey.sample.size(); ++r) {
    entries.push_back("||||||||||| RECORD " + std::to_string(r + 1) + " ||||||||||||");
    entry_columns_.push_back(0);
    const std::vector<std::string>& fields = survey.sample[r];
    columns_shown_ = std::max(columns_shown_, fields.size());
    for (std::size_t k = 0; k < fields.size(); ++k) {
      std::string entry = std::to_string(k + 1);
      if (const std::string_view name = columns_.Name(k + 1); !name.empty()) {
        entry.append(" (").append(name).append(")");
      }
      entries.push_back(entry + " = " + OnOneLine(fields[k]));
      entry_columns_.push_back(k + 1);
    }
  }
  view_.SetPreview(entries);
  if (suggest && header) {
    links_ = SuggestLinks(columns_, survey.sample);
  } else {
    for (std::size_t& link : links_) {
      if (link > columns_shown_) link = 0;
    }
  }
  ShowLinks();
}

void CommaParse::ShowLinks() {
  for (const CommaLinkControl& control : kCommaLinkControls) {
    const std::size_t link = links_[static_cast<std::size_t>(control.field)];
    view_.SetLink(control.field, link == 0 ? "" : std::to_string(link),
                  std::string(columns_.Name(link)));
  }
}

void CommaParse::InputList_Click(int index) {
  clicked_ = index >= 0 && static_cast<std::size_t>(index) < entry_columns_.size() ? index : -1;
}

void CommaParse::Link_Click(RecordField field) {
  links_[static_cast<std::size_t>(field)] =
      clicked_ < 0 ? 0 : entry_columns_[static_cast<std::size_t>(clicked_)];
  ShowLinks();
}

void CommaParse::Link_Clear(RecordField field) {
  links_[static_cast<std::size_t>(field)] = 0;
  ShowLinks();
}

void CommaParse::FirstLineNames_Click() {
  Reread(view_.HeaderBox());
}

void CommaParse::Encoding_Click() {
  Reread(false);
}

CommaImportOptions CommaParse::Options() const {
  CommaImportOptions options;
  options.encoding = kTextEncodingChoices[view_.Encoding()].name;
  options.header = view_.HeaderBox();
  options.links = links_;
  options.keyword = view_.Keyword();
  options.individual = view_.Individual();
  options.extras_to_notes = view_.Extras();
  return options;
}

void CommaParse::Command1_Click() {
  DataSetLock lock;
  if (!MayImportInto(live_, target_, host_, dialogs_, lock)) return;
  const CommaImportOptions options = Options();
  const std::string keyword = Trim(options.keyword);
  if (keyword.empty()) {
    Tell("You must type the keyword the new records are to carry.", "Nothing to do!",
         MessageIcon::kExclamation);
    return;
  }
  const EncodeResult stored = EncodeCp1252(keyword);
  if (stored.replaced > 0) {
    Tell("The keyword \"" + keyword +
             "\" holds characters the record files cannot store. Type another keyword.",
         "Error!", MessageIcon::kExclamation);
    return;
  }
  // What the window decoded, as the preview shows it.
  const Result<DecodedText>& text = Decoded();
  if (!text.ok()) {
    ReportDiskError(dialogs_, text.status(), kImportUnchanged);
    return;
  }
  if (HoldsNul(text.value().text)) {
    Tell(NotTextMessage(path_), "Error!", MessageIcon::kExclamation);
    return;
  }
  DecideOptions decide;
  decide.header = options.header;
  decide.links = options.links;
  decide.individual = options.individual;
  decide.extras_to_notes = options.extras_to_notes;
  decide.keyword = stored.bytes;
  decide.write_ahead = true;
  // As many as the file held when it was last read; the bar only shows.
  const int expected = static_cast<int>(records_);
  view_.SetProgressRange(1, std::max(expected, 2));
  view_.SetBusy(true);
  const ProgressThrottle progress([this](int n) { view_.SetProgressValue(n); }, expected);
  auto decided = DecideImport(target_, FormatId::kComma, text.value().text, decide, clock_.Now(),
                              [&progress](std::size_t n) { progress.Step(static_cast<int>(n)); });
  view_.SetBusy(false);
  if (!decided.ok()) {
    ReportDiskError(dialogs_, decided.status(), kImportUnchanged);
    return;
  }
  const NewRecordsImport& import = *decided.value().added;
  std::string left_out = decided.value().left_out;
  if (import.added() == 0) {
    Tell(left_out.empty() ? path_ + "\r\nholds no records to import" +
                                (options.header ? " below its line of field names." : ".")
                          : left_out,
         "Nothing to do!", MessageIcon::kExclamation);
    return;
  }
  if (!left_out.empty()) left_out = "\r\n" + left_out;
  if (!CommitImport(
          target_, import.merge(), [this](bool busy) { view_.SetBusy(busy); }, dialogs_, clock_,
          host_)) {
    return;
  }
  const std::string listed = Trim(DecodeCp1252(std::string_view(stored.bytes).substr(0, 14)));
  Tell(AddedText(import.added()) + LossNote(import) + left_out +
           "\r\n\r\nRemember, the new records all have the keyword " + listed +
           " and are at the end of the list. You will no doubt need to open some or all of them "
           "and change the TYPE classification, add keywords, etc.",
       "Import Completed!", MessageIcon::kInformation);
  view_.Close();
}

void CommaParse::Command2_Click() {
  view_.Close();
}

}  // namespace tabrel
