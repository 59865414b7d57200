#include "mainwin/keyword_panel.h"

#include <algorithm>

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "present/record_list.h"
#include "store/keyword_file.h"
#include "store/layout.h"

namespace tabrel {
namespace {

constexpr char kPersonalMark = '~';

}  // namespace

KeywordPanel::KeywordPanel(AppState& state, MainView& view, Dialogs& dialogs, MainListHost& host)
    : state_(state), view_(view), dialogs_(dialogs), host_(host) {}

void KeywordPanel::ShowFrame(bool visible) {
  frame_visible_ = visible;
  view_.SetControlVisible(Control::kKeyFrame, visible);
}

bool KeywordPanel::Report(const Status& status, std::string_view consequence) {
  if (status.ok()) return false;
  ReportDiskError(dialogs_, status, consequence);
  return true;
}

bool KeywordPanel::Report(const GroupCommit& commit, std::string_view consequence) {
  if (commit.left_new.empty()) return Report(commit.status, consequence);
  // tabrel.dat goes first; only it can be left changed, and only when
  // putting it back failed as well.
  std::string text = "The change stopped halfway and could not be undone:";
  for (const GroupCommit::LeftNew& file : commit.left_new) {
    text += "\r\n- " + file.path +
            " holds the changed records; their previous content is kept in " + file.old_copy + ".";
  }
  text += "\r\n- keyword.dat still holds the keyword list as it was.";
  return Report(commit.status, text);
}

std::string KeywordPanel::CurrentKeyword() const {
  return Trim(EncodeCp1252(view_.KeywordEditText()).bytes);
}

void KeywordPanel::mu_NewKey_Click() {
  ShowFrame(true);
  edit_mode_ = EditMode::kAdd;
  view_.SetKeywordEditText("");
  view_.FocusControl(Control::kKeywordEdit);
}

void KeywordPanel::mu_changeKey_Click() {
  const std::string current = CurrentKeyword();
  if (current.empty()) {
    // A blank old keyword would match every empty keyword slot of every record.
    dialogs_.Show({"Double-click the keyword you want to change in the keyword list first.",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  old_keyword_ = current;
  ShowFrame(true);
  view_.FocusControl(Control::kKeywordEdit);
  edit_mode_ = EditMode::kChange;
}

void KeywordPanel::KeyCancel_Click() {
  ShowFrame(false);
}

void KeywordPanel::KeySave_Click() {
  const EncodeResult encoded = EncodeCp1252(view_.KeywordEditText());
  if (encoded.replaced > 0) {
    dialogs_.Show(
        {"The keyword holds characters that cannot be stored. Please type it again "
         "without them.",
         "Nothing to do!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    return;
  }
  std::string text = encoded.bytes;
  const bool personal = view_.KeyOpPersonal();
  if ((text.empty() || text[0] != kPersonalMark) && personal) {
    text = kPersonalMark + Trim(text);
  } else if (!text.empty() && text[0] == kPersonalMark && !personal) {
    text.erase(0, 1);
  }
  // What is stored: cut to the entry width, so that the checks below compare
  // the keyword as it will be kept.
  const std::string keyword = Trim(Trim(text).substr(0, layout::kKeywordRecordLength));
  if (keyword.empty()) {
    dialogs_.Show({"Can't have a blank keyword",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    ShowFrame(false);
    return;
  }

  auto entries = ReadKeywords(state_);
  if (Report(entries.status(), "The keyword list was not changed.")) {
    ShowFrame(false);
    return;
  }
  const bool exists = std::any_of(entries.value().begin(), entries.value().end(),
                                  [&](const std::string& e) { return TrimView(e) == keyword; });

  if (edit_mode_ == EditMode::kAdd) {
    ShowFrame(false);
    if (exists) {
      dialogs_.Show({"The keyword " + DecodeCp1252(keyword) + " is already in the list.",
                     "Nothing to do!",
                     MessageIcon::kInformation,
                     MessageButtons::kOk,
                     {}});
      return;
    }
    if (Report(AppendKeyword(state_, keyword), "The keyword was not added.")) return;
    Report(SortKeywordFile(state_), "The keyword list could not be sorted.");
    host_.PopKeywordGrid();
    return;
  }

  if (exists && keyword != old_keyword_) {
    const std::string question =
        "The keyword " + DecodeCp1252(keyword) +
        " is already in the list.\r\nDo you want to merge " + DecodeCp1252(old_keyword_) +
        " into it? Every record that carries " + DecodeCp1252(old_keyword_) + " will carry " +
        DecodeCp1252(keyword) + " instead.";
    if (dialogs_.Show({question, "Confirm", MessageIcon::kQuestion, MessageButtons::kYesNo,
                       MessageAnswer::kNo}) != MessageAnswer::kYes) {
      return;  // the frame stays open for another name
    }
  }
  ShowFrame(false);
  if (Report(RenameKeyword(state_, old_keyword_, keyword),
             "The keyword was not renamed everywhere.")) {
    host_.PopKeywordGrid();
    return;
  }
  Report(SortKeywordFile(state_), "The keyword list could not be sorted.");
  host_.PopKeywordGrid();
}

void KeywordPanel::mu_deleteKey_Click() {
  const std::string k = CurrentKeyword();
  if (k.empty()) {
    dialogs_.Show({"Double-click the keyword you want to delete in the keyword list first.",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  const std::string shown = DecodeCp1252(k);
  if (dialogs_.Show({"Delete Keyword " + shown + " ?",
                     "Confirm",
                     MessageIcon::kExclamation,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return;
  }
  // Both files are written before either is replaced, so the list and the
  // records never disagree about the keyword, whatever fails.
  KeywordChange change(state_);
  if (Report(change.StageDeleteEntry(k), "The keyword was not deleted.")) return;
  if (dialogs_.Show({"Keyword " + shown +
                         " has been deleted from the keyword list.\r\nDo you now wish to remove "
                         "it from your line items as well?",
                     "Now what?", MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) == MessageAnswer::kYes &&
      Report(change.StageRemoveFromRecords(k),
             "The keyword was not deleted, from the list or from the records.")) {
    return;
  }
  Report(change.Commit(), "The keyword was not deleted.");
  host_.PopKeywordGrid();
  host_.HideViewPanel();
  host_.MainGrid().SetVisible(true);
  host_.mu_FreeListOFF_Click();
  std::string all(kAllRecords);
  host_.PopMainGrid(all);
}

}  // namespace tabrel
