#include "editor/contact_editor.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "present/key_codes.h"
#include "store/contact_insert.h"
#include "store/data_set.h"
#include "store/keyword_file.h"
#include "store/layout.h"
#include "store/stamp.h"
#include "store/stamp_journal.h"
#include "store/stamp_set.h"

namespace tabrel {
namespace {

namespace l = layout;
using F = EditorField;
using B = EditorButton;

constexpr std::string_view kPublicIndividual = "Public, Individual";
constexpr std::string_view kKeywordGrid2Format = "<Keywords                  ";

// The stored field behind each text box, in the order of EditorField, with
// its place in the record: a box takes and saves no more than that holds.
struct StoredField {
  std::string ContactRecord::*member;
  l::Span span;
};
constexpr StoredField kStoredFields[] = {
    {&ContactRecord::LastName, l::kLastName}, {&ContactRecord::FirstName, l::kFirstName},
    {&ContactRecord::Title, l::kTitle},       {&ContactRecord::Org, l::kOrg},
    {&ContactRecord::Add1, l::kAdd1},         {&ContactRecord::Add2, l::kAdd2},
    {&ContactRecord::City, l::kCity},         {&ContactRecord::State, l::kState},
    {&ContactRecord::Zip, l::kZip},           {&ContactRecord::Phone, l::kPhone},
    {&ContactRecord::Ext, l::kExt},           {&ContactRecord::Fax, l::kFax},
    {&ContactRecord::Cellular, l::kCellular}, {&ContactRecord::Beeper, l::kBeeper},
    {&ContactRecord::Country, l::kCountry},   {&ContactRecord::EMail, l::kEMail},
    {&ContactRecord::Web, l::kWeb},           {&ContactRecord::Notes, l::kNotes},
};
static_assert(std::size(kStoredFields) == static_cast<std::size_t>(F::kCount));

constexpr const StoredField& StoredFieldOf(EditorField field) {
  return kStoredFields[static_cast<std::size_t>(field)];
}
constexpr int Width(EditorField field) {
  return static_cast<int>(StoredFieldOf(field).span.width);
}

constexpr std::string ContactRecord::*kSlotMembers[] = {&ContactRecord::KW1, &ContactRecord::KW2,
                                                        &ContactRecord::KW3};

std::string ContactRecord::*MemberOf(EditorField field) {
  return StoredFieldOf(field).member;
}

std::string_view CaptionOf(std::string_view code) {
  for (const auto& t : kRecordTypeCaptions) {
    if (t.code == code) return t.caption;
  }
  return kDesignTypeCaption;
}

// Index in kRecordTypeCaptions; -1 for a caption outside it.
int TypeIndex(std::string_view caption) {
  for (std::size_t i = 0; i < kRecordTypeCaptions.size(); ++i) {
    if (kRecordTypeCaptions[i].caption == caption) return static_cast<int>(i);
  }
  return -1;
}

// A view may hand back bare "\n" line breaks; stored notes use "\r\n".
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

const std::array<EditorFieldControl, 18> kEditorFieldControls = {{
    {F::LastNameEd, "LastNameEd", "Last Name", "last name", Width(F::LastNameEd), false},
    {F::FirstNameEd, "FirstNameEd", "First Name", "first name", Width(F::FirstNameEd), false},
    {F::TitleEd, "TitleEd", "Title", "title", Width(F::TitleEd), false},
    {F::OrgEd, "OrgEd", "Organization", "organization", Width(F::OrgEd), false},
    {F::Add1Ed, "Add1Ed", "Address 1", "address 1", Width(F::Add1Ed), false},
    {F::Add2Ed, "Add2Ed", "Address 2", "address 2", Width(F::Add2Ed), false},
    {F::CityEd, "CityEd", "City", "city", Width(F::CityEd), false},
    {F::StateEd, "StateEd", "State", "state", Width(F::StateEd), false},
    {F::ZipEd, "ZipEd", "Zip Code", "zip code", Width(F::ZipEd), false},
    {F::PhoneEd, "PhoneEd", "Phone", "phone number", Width(F::PhoneEd), false},
    {F::ExtEd, "ExtEd", "Ext.", "phone ext.", Width(F::ExtEd), false},
    {F::FaxEd, "FaxEd", "Fax", "fax number", Width(F::FaxEd), false},
    {F::CellularEd, "CellularEd", "Mobile", "mobil number", Width(F::CellularEd), false},
    {F::BeeperEd, "BeeperEd", "Pager", "pager number", Width(F::BeeperEd), false},
    {F::CountryEd, "CountryEd", "Country", "country", Width(F::CountryEd), false},
    {F::EMailEd, "EMailEd", "E-Mail", "email address", Width(F::EMailEd), false},
    {F::WebEd, "WebEd", "Web Site", "web site", Width(F::WebEd), false},
    {F::NotesEd, "NotesEd", "Notes", "", Width(F::NotesEd), true},
}};

const std::array<EditorButtonControl, 8> kEditorButtonControls = {{
    {B::SaveBut, "SaveBut", "&Save", "save new or changed record"},
    {B::CancelBut, "CancelBut", "&Cancel", "quit record edit without further action"},
    {B::DelBut, "DelBut", "&Delete", "delete the currently displayed record"},
    {B::TypeTog, "TypeTog", "&Type", "toggle between personal/public organization/individual"},
    {B::Key1Tog, "Key1Tog", "Key&1", "set currently highlighted keyword as key 1 for this record"},
    {B::Key2Tog, "Key2Tog", "Key&2", "set currently highlighted keyword as key 2 for this record"},
    {B::Key3Tog, "Key3Tog", "Key&3", "set currently highlighted keyword as key 3 for this record"},
    {B::ScratchTog, "ScratchTog", "Scratch &Pad", ""},
}};

ContactEditor::ContactEditor(AppState& state, EditorView& view, Dialogs& dialogs, Clock& clock)
    : state_(state), view_(view), dialogs_(dialogs), clock_(clock) {}

bool ContactEditor::Form_Load() {
  mode_ = state_.editor_mode;
  scratch_visible_ = false;
  view_.ShowScratchPad(false);
  if (mode_ == EditorMode::kNewRecord) {
    base_ = BlankContactRecord();
    base_.RecType = "1";
    base_.Modified = std::string(kUnsavedStamp);
    stamp_ = base_.Modified;
    SetType("1");
    EmptyBoxes();
    view_.SetCaption("New record!");
    PopKeywordGrid2();
    return true;
  }

  auto found = LoadRecordByStamp(state_);
  if (!found.ok()) {
    ReportDiskError(dialogs_, found.status(), "The record cannot be opened.");
    CloseEditor();
    return false;
  }
  if (!found.value()) {
    dialogs_.Show(
        {"The chosen record is no longer in the data set: it was changed or deleted "
         "since the list was filled.\r\nRefresh the list and choose the record again.",
         "Record not found!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    CloseEditor();
    return false;
  }
  base_ = state_.editor_record;
  stamp_ = base_.Modified;
  if (IsOrganisation(base_.RecType)) {
    view_.SetCaption("Details: " + DecodeCp1252(Trim(base_.Org)));
  } else {
    view_.SetCaption("Details: " + DecodeCp1252(Trim(base_.FirstName)) + " " +
                     DecodeCp1252(Trim(base_.LastName)));
  }
  FillBoxes(base_);
  SetType(base_.RecType);
  if (state_.duplicate_flag == DuplicateFlag::kDuplicating) {
    mode_ = EditorMode::kNewRecord;
    state_.editor_mode = EditorMode::kNewRecord;
  }
  PopKeywordGrid2();
  return true;
}

void ContactEditor::FillBoxes(const ContactRecord& record) {
  for (const auto& c : kEditorFieldControls) {
    view_.SetFieldText(c.id, DecodeCp1252(Trim(record.*MemberOf(c.id))));
  }
  for (int slot = 1; slot <= 3; ++slot) SetSlot(slot, Trim(record.*kSlotMembers[slot - 1]));
}

void ContactEditor::EmptyBoxes() {
  for (const auto& c : kEditorFieldControls) view_.SetFieldText(c.id, "");
  for (int slot = 1; slot <= 3; ++slot) SetSlot(slot, "");
}

void ContactEditor::SetType(std::string_view code) {
  type_caption_ = std::string(CaptionOf(code));
  view_.SetTypeCaption(type_caption_);
}

void ContactEditor::SetSlot(int slot, std::string bytes) {
  view_.SetKeywordSlot(slot, DecodeCp1252(bytes));
  slots_[static_cast<std::size_t>(slot - 1)] = std::move(bytes);
}

void ContactEditor::PopKeywordGrid2() {
  keyword_grid_.SetVisible(true);
  keyword_grid_.ClearToHeader();
  keyword_grid_.SetFormatString(kKeywordGrid2Format);
  auto entries = ReadKeywords(state_);
  if (!entries.ok()) {
    ReportDiskError(dialogs_, entries.status(), "The keyword list cannot be shown.");
    return;
  }
  for (auto& entry : entries.value()) keyword_grid_.AddItem(std::move(entry));
  if (keyword_grid_.Rows() > 1) keyword_grid_.SetRow(1);
}

void ContactEditor::TypeTog_Click() {
  const int at = TypeIndex(type_caption_);
  if (at < 0) return;
  const auto next = static_cast<std::size_t>(at + 1) % kRecordTypeCaptions.size();
  SetType(kRecordTypeCaptions[next].code);
}

void ContactEditor::KeyTog(int slot) {
  // Row 0 is the header: with no keyword in the list there is nothing to take.
  if (keyword_grid_.Row() < 1) return;
  const std::string_view cell = keyword_grid_.Text();
  const std::string_view g = TrimView(cell);
  for (int other = 1; other <= 3; ++other) {
    if (other != slot && g == TrimView(slots_[static_cast<std::size_t>(other - 1)])) return;
  }
  SetSlot(slot, std::string(cell));
}

void ContactEditor::ClearSlot(int slot) {
  SetSlot(slot, "");
}

void ContactEditor::ScratchTog_Click() {
  scratch_visible_ = !scratch_visible_;
  view_.ShowScratchPad(scratch_visible_);
}

bool ContactEditor::Ask(const std::string& text, MessageIcon icon, bool default_no) {
  Message message{text, "Confirm", icon, MessageButtons::kYesNo, {}};
  if (default_no) message.default_answer = MessageAnswer::kNo;
  return dialogs_.Show(message) == MessageAnswer::kYes;
}

bool ContactEditor::ConfirmSave() {
  const int type = TypeIndex(type_caption_);
  const bool individual = type == 0 || type == 2;
  const bool organisation = type == 1 || type == 3;
  if (type_caption_ == kPublicIndividual &&
      !Ask("You have this record's TYPE as the default: PUBLIC, INDIVIDUAL.\r\nIt will be listed "
           "by the person's name, not their organization. \r\nIs that what you want?",
           MessageIcon::kQuestion, false)) {
    return false;
  }
  if (std::all_of(slots_.begin(), slots_.end(), [](const std::string& s) { return s.empty(); }) &&
      !Ask("You have not selected any keywords for this record!\r\nIs that what you want?",
           MessageIcon::kQuestion, true)) {
    return false;
  }
  // Blanks count as text here: only a box with nothing in it is missing.
  if (individual &&
      (view_.FieldText(F::FirstNameEd).empty() || view_.FieldText(F::LastNameEd).empty()) &&
      !Ask("You have this record as an INDIVIDUAL, but are\r\nmissing the first or last name! Is "
           "that what you want?",
           MessageIcon::kQuestion, false)) {
    return false;
  }
  if (organisation && view_.FieldText(F::OrgEd).empty() &&
      !Ask("You have this record as an ORGANIZATION, but are\r\nmissing the Organization's name! "
           "Is that what you want?",
           MessageIcon::kQuestion, false)) {
    return false;
  }
  return true;
}

bool ContactEditor::ConfirmStorable() {
  std::string boxes;
  for (const auto& c : kEditorFieldControls) {
    if (EncodeCp1252(view_.FieldText(c.id)).replaced == 0) continue;
    if (!boxes.empty()) boxes += ", ";
    boxes += c.label;
  }
  if (boxes.empty()) return true;
  return Ask("Some characters in " + boxes +
                 " cannot be stored in the data set and would be saved as \"?\".\r\nSave "
                 "anyway? Answer No to go back and change them.",
             MessageIcon::kExclamation, true);
}

ContactRecord ContactEditor::RecordFromControls() {
  ContactRecord record = base_;
  for (const auto& c : kEditorFieldControls) {
    const std::string text = view_.FieldText(c.id);
    EncodeResult encoded = EncodeCp1252(c.multi_line ? WithCrLf(text) : text);
    if ((c.id == F::StateEd || c.id == F::CountryEd) && TrimView(encoded.bytes).size() == 2) {
      UpperCp1252InPlace(encoded.bytes);
      // A box holding text that became "?" keeps what the user typed.
      if (encoded.replaced == 0) view_.SetFieldText(c.id, DecodeCp1252(encoded.bytes));
    }
    record.*MemberOf(c.id) = Fit(encoded.bytes, StoredFieldOf(c.id).span.width);
  }
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    record.*kSlotMembers[i] = Fit(slots_[i], l::kKW1.width);
  }
  const int type = TypeIndex(type_caption_);
  if (type >= 0) record.RecType = std::string(kRecordTypeCaptions[type].code);
  return record;
}

Result<int> ContactEditor::FindOpenedRecord() const {
  // A copy, so that the main window's editor record and record number stay as they are.
  AppState probe = state_;
  probe.editor_record.Modified = stamp_;
  auto found = LoadRecordByStamp(probe);
  if (!found.ok()) return found.status();
  return found.value() ? probe.current_record_number : 0;
}

void ContactEditor::SaveBut_Click() {
  if (!ConfirmSave() || !ConfirmStorable()) return;
  ContactRecord record = RecordFromControls();
  // A stamp no record has: saves within one tick of the clock would
  // otherwise give several records one identity.
  auto stamps = StampSet::Read(state_);
  if (!stamps.ok()) return ReportDiskError(dialogs_, stamps.status(), "The record was not saved.");
  record.Modified = stamps.value().TakeAtOrAfter(clock_.Now());
  if (mode_ == EditorMode::kNewRecord) {
    const Status status = InsertInNameOrder(state_, record);
    if (status.number() == error_number::kOverflow) {
      dialogs_.Show(
          {status.description(), "Error!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
      return;
    }
    if (!status.ok()) return ReportDiskError(dialogs_, status, "The record was not saved.");
  } else {
    auto number = FindOpenedRecord();
    if (!number.ok())
      return ReportDiskError(dialogs_, number.status(), "The record was not saved.");
    if (number.value() == 0) return ReportGone("Nothing was saved.");
    if (Status s = StampJournal::Note(state_, stamp_, record.Modified); !s.ok())
      return ReportDiskError(dialogs_, s, "The record was not saved.");
    if (const InPlaceWrite saved = SaveRecordAt(state_, number.value(), record); !saved.ok()) {
      if (!saved.landed)
        return ReportDiskError(dialogs_, saved.status, "The record was not saved.");
      // Written but perhaps not on disk: the file holds the new record, so
      // the editor closes as after a save, and says what is at risk.
      ReportDiskError(dialogs_, saved.status,
                      "The record was written, but it may not be safe on disk: a crash or power "
                      "failure now could lose the change.");
    }
    state_.editor_record = record;
    state_.current_record_number = number.value();
  }
  CloseEditor();
}

void ContactEditor::DelBut_Click() {
  if (mode_ == EditorMode::kNewRecord) return;
  if (!Ask("Delete this record?", MessageIcon::kExclamation, true)) return;
  auto number = FindOpenedRecord();
  if (!number.ok())
    return ReportDiskError(dialogs_, number.status(), "The record was not deleted.");
  if (number.value() == 0) return ReportGone("Nothing was deleted.");
  AppState target = state_;
  target.editor_record.Modified = stamp_;
  if (Status s = DeleteRecord(target); !s.ok()) {
    return ReportDiskError(dialogs_, s, "The record was not deleted.");
  }
  CloseEditor();
}

void ContactEditor::CancelBut_Click() {
  CloseEditor();
}

bool ContactEditor::Form_KeyDown(int key_code) {
  if (key_code != key::kEscape) return false;
  CancelBut_Click();
  return true;
}

void ContactEditor::ReportGone(std::string_view consequence) {
  dialogs_.Show(
      {"This record is no longer in the data set as it was when the editor opened: it "
       "was changed or deleted in another window.\r\n" +
           std::string(consequence) +
           " Copy what you need from the editor, then cancel and open the record "
           "again.",
       "Record not found!",
       MessageIcon::kExclamation,
       MessageButtons::kOk,
       {}});
}

void ContactEditor::CloseEditor() {
  state_.editor_mode = EditorMode::kExisting;
  state_.duplicate_flag = DuplicateFlag::kOff;
  view_.Close();
}

}  // namespace tabrel
