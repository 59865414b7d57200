#include "mainwin/view_panel.h"

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "present/paste_up.h"
#include "present/record_list.h"
#include "present/text_wrap.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

std::string Shown(const std::string& field) {
  return DecodeCp1252(Trim(field));
}

// Stored text ends its lines with CR LF; pasted on Linux each CR would show
// as "^M".
std::string WithLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      out.push_back('\n');
    }
  }
  return out;
}

}  // namespace

std::string TypeCaption(const std::string& rec_type) {
  if (rec_type == "1") return "Public, Individual";
  if (rec_type == "2") return "Public, Organization";
  if (rec_type == "3") return "Personal, Individual";
  if (rec_type == "4") return "Personal, Organization";
  return {};
}

ViewPanel::ViewPanel(AppState& state, MainView& view, Platform& platform, MainListHost& host)
    : state_(state), view_(view), platform_(platform), host_(host) {}

ViewPanelContent ViewPanel::ContentOf(const ContactRecord& r) {
  ViewPanelContent c;
  if (IsIndividual(r.RecType)) {
    c.caption = " " + Shown(r.FirstName) + " " + Shown(r.LastName) + " ";
  } else if (IsOrganisation(r.RecType)) {
    c.caption = " " + Shown(r.Org) + " ";
  }
  c.name = Shown(r.FirstName) + " " + Shown(r.LastName);
  if (!IsBlank(r.Title)) c.name += ", " + Shown(r.Title);
  c.org = Shown(r.Org);
  c.add1 = Shown(r.Add1);
  c.add2 = Shown(r.Add2);
  c.csz = Shown(r.City) + ", " + Shown(r.State) + " " + Shown(r.Zip);
  if (!IsBlank(r.Country)) c.csz += " - " + DecodeCp1252(r.Country);
  c.phone = Shown(r.Phone);
  c.ext = Shown(r.Ext);
  c.fax = Shown(r.Fax);
  c.cellular = Shown(r.Cellular);
  c.beeper = Shown(r.Beeper);
  c.email = Shown(r.EMail);
  c.web = Shown(r.Web);
  c.kw1 = Shown(r.KW1);
  c.kw2 = Shown(r.KW2);
  c.kw3 = Shown(r.KW3);
  c.rec_type = TypeCaption(r.RecType);
  c.rec_age = "Last modified: " + DecodeCp1252(r.Modified.substr(0, 10));
  c.notes = Shown(r.Notes);
  return c;
}

void ViewPanel::ShowCurrentRow() {
  Grid& grid = host_.MainGrid();
  if (grid.Row() < 1) return;
  grid.SetCol(kIdColumn);
  state_.editor_record.Modified = std::string(grid.Text());
  state_.current_record_number = static_cast<int>(grid.RowTag(grid.Row()));
  auto found = LoadRecordByStamp(state_);
  if (!found.ok()) {
    ReportDiskError(platform_.dialogs, found.status());
    return;
  }
  if (!found.value()) {
    // Showing the record that the buffer held before would show the wrong person.
    platform_.dialogs.Show(
        {"This record is no longer in the data set; it may have been deleted "
         "or changed elsewhere. Press F4 to list the records again.",
         "Nothing to do!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    return;
  }
  grid.SetVisible(false);
  visible_ = true;
  view_.ShowRecordView(ContentOf(state_.editor_record));
  view_.SetControlVisible(Control::kBackground, true);
  view_.SetControlVisible(Control::kViewFrame, true);
}

void ViewPanel::ViewNext_Click() {
  Grid& grid = host_.MainGrid();
  if (grid.Rows() < 2) return;
  grid.SetRow(grid.Row() < grid.Rows() - 1 ? grid.Row() + 1 : 1);
  ShowCurrentRow();
}

void ViewPanel::ViewBack_Click() {
  Grid& grid = host_.MainGrid();
  if (grid.Rows() < 2) return;
  grid.SetRow(grid.Row() > 1 ? grid.Row() - 1 : grid.Rows() - 1);
  ShowCurrentRow();
}

void ViewPanel::Hide() {
  visible_ = false;
  view_.SetControlVisible(Control::kViewFrame, false);
  view_.SetControlVisible(Control::kBackground, false);
}

void ViewPanel::CloseView_Click() {
  view_.SetControlVisible(Control::kViewFrame, false);
  Grid& grid = host_.MainGrid();
  grid.SetVisible(true);
  view_.FocusControl(Control::kMainGrid);
  host_.SetGridColors();
  grid.SetCol(0);
  grid.SetColSel(kIdColumn);
  Hide();
}

void ViewPanel::EditView_Click() {
  if (!host_.CheckWritable()) return;
  state_.editor_mode = EditorMode::kExisting;
  state_.duplicate_flag = DuplicateFlag::kOff;
  view_.OpenEditor();
}

void ViewPanel::CopyAndOfferPrint(const std::string& block, const std::string& title) {
  platform_.clipboard.Clear();
  platform_.clipboard.SetText(WithLf(DecodeCp1252(block)));
  if (platform_.dialogs.Show({DecodeCp1252(block) + "\r\nSend to printer?", title,
                              MessageIcon::kQuestion, MessageButtons::kYesNo,
                              MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return;
  }
  Printer& printer = platform_.printer;
  PrintWrapped(printer, 1, 1000, printer.PageWidth() - 400, block);
  if (Status s = printer.EndDoc(); !s.ok()) {
    platform_.dialogs.Show({s.ErrorLine() + "\r\nNothing was printed.",
                            "Error!",
                            MessageIcon::kExclamation,
                            MessageButtons::kOk,
                            {}});
  }
}

void ViewPanel::ViewCopyAddress_Click() {
  CopyAndOfferPrint(PasteUpAddress(state_.editor_record), "Address in clipboard!");
}

void ViewPanel::ViewCopyAll_Click() {
  CopyAndOfferPrint(PasteUpFull(state_.editor_record, state_.settings), "Record in clipboard!");
}

void ViewPanel::ViewEmail_dblClick() {
  platform_.clipboard.Clear();
  platform_.clipboard.SetText(Shown(state_.editor_record.EMail));
}

void ViewPanel::ViewWeb_dblClick() {
  platform_.clipboard.Clear();
  platform_.clipboard.SetText(Shown(state_.editor_record.Web));
}

}  // namespace tabrel
