#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/grid.h"
#include "store/app_state.h"
#include "store/contact_record.h"

namespace tabrel {

// Text boxes of the record editor, in tab order.
enum class EditorField {
  LastNameEd,
  FirstNameEd,
  TitleEd,
  OrgEd,
  Add1Ed,
  Add2Ed,
  CityEd,
  StateEd,
  ZipEd,
  PhoneEd,
  ExtEd,
  FaxEd,
  CellularEd,
  BeeperEd,
  CountryEd,
  EMailEd,
  WebEd,
  NotesEd,
  kCount
};

// What the view needs to build a text box. `label` names the box in the
// editor's messages. max_length is the width of the stored field (from
// store/layout.h), so that the box takes no more than is saved.
struct EditorFieldControl {
  EditorField id;
  std::string_view name;
  std::string_view label;
  std::string_view tooltip;
  int max_length;
  bool multi_line;
};
extern const std::array<EditorFieldControl, 18> kEditorFieldControls;

enum class EditorButton {
  SaveBut,
  CancelBut,
  DelBut,
  TypeTog,
  Key1Tog,
  Key2Tog,
  Key3Tog,
  ScratchTog
};

struct EditorButtonControl {
  EditorButton id;
  std::string_view name;
  std::string_view caption;  // "&" marks the access key
  std::string_view tooltip;
};
extern const std::array<EditorButtonControl, 8> kEditorButtonControls;

inline constexpr std::string_view kTypeTooltip = "this is the record's \"type\" classification";
inline constexpr std::string_view kKeywordSlotTooltip = "double-click to clear";
inline constexpr std::string_view kKeywordGrid2Tooltip =
    "pick keyword here, then click button above to select";
inline constexpr std::string_view kScratchLabel = "Scratch Pad ->";  // SL
inline constexpr std::string_view kNotesLabel = "Notes";             // NL1
// The type label's caption before Form_Load, kept for a type code outside "1" to "4".
inline constexpr std::string_view kDesignTypeCaption = "rec type";

// The record types in the order the Type button steps through them.
struct RecordTypeCaption {
  std::string_view code;
  std::string_view caption;
};
inline constexpr std::array<RecordTypeCaption, 4> kRecordTypeCaptions = {{
    {"1", "Public, Individual"},
    {"2", "Public, Organization"},
    {"3", "Personal, Individual"},
    {"4", "Personal, Organization"},
}};

// The window ContactEd. Texts cross as UTF-8. The Notes box carries line
// breaks as "\r\n", as stored; a lone "\n" handed back is stored as "\r\n".
class EditorView {
 public:
  virtual ~EditorView() = default;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetFieldText(EditorField field, const std::string& text) = 0;
  virtual std::string FieldText(EditorField field) const = 0;
  virtual void SetTypeCaption(const std::string& text) = 0;
  // slot 1 to 3: the labels KW1Ed to KW3Ed.
  virtual void SetKeywordSlot(int slot, const std::string& text) = 0;
  // Shows the scratch pad and its label SL and hides the label NL1, or the
  // reverse.
  virtual void ShowScratchPad(bool visible) = 0;
  // Hides and unloads the window. Called from inside an event procedure: a
  // view that deletes itself must do so after the procedure returns.
  virtual void Close() = 0;
};

// The presenter of the record editor. The caller sets AppState::editor_mode,
// duplicate_flag and the editor record's stamp (the record list's ID cell)
// and then runs Form_Load. Form_Load captures the mode and
// the stamp of the record it opens: the main window may reuse the editor
// record and the current record number while this modeless editor is open,
// so nothing here relies on them afterwards.
//
// A record that is gone: a stamp changes on every save and a delete drops
// the record, so the record a list row names may have left the file.
// Form_Load then says so and closes, rather than showing whatever the editor
// record held before. Save and Delete of an existing record look the stamp up
// again right before writing; when it is gone they say so, write nothing and
// keep the editor open with the user's typing, instead of writing at a record
// number that now belongs to another record.
//
// Text that Windows-1252 cannot hold would be stored as "?": Save names the
// boxes that hold such text and asks before writing. A failed file access is
// reported ("Disk access error!") and keeps the editor open as it was.
class ContactEditor {
 public:
  ContactEditor(AppState& state, EditorView& view, Dialogs& dialogs, Clock& clock);

  // The editor opens (Add New Record, Duplicate Record, or Edit in the view
  // panel). False when it closed at once (the record is gone or the file
  // could not be read); the window is then not to be shown.
  bool Form_Load();
  // Save.
  void SaveBut_Click();
  // Cancel.
  void CancelBut_Click();
  // Delete.
  void DelBut_Click();
  // A key goes down in the editor; true when it was taken (Esc cancels).
  bool Form_KeyDown(int key_code);
  // Type: the next of the four record types.
  void TypeTog_Click();
  // Key1, Key2, Key3: the keyword chosen in the list goes into that slot.
  void Key1Tog_Click() { KeyTog(1); }
  void Key2Tog_Click() { KeyTog(2); }
  void Key3Tog_Click() { KeyTog(3); }
  // A keyword slot is double-clicked: it is cleared.
  void KW1Ed_dblClick() { ClearSlot(1); }
  void KW2Ed_dblClick() { ClearSlot(2); }
  void KW3Ed_dblClick() { ClearSlot(3); }
  // Scratch Pad: the scratch pad shown or hidden.
  void ScratchTog_Click();
  // Fills the editor's keyword list from keyword.dat.
  void PopKeywordGrid2();

  // The keyword list; its current row is the keyword the Key buttons take.
  Grid& KeywordGrid2() { return keyword_grid_; }

 private:
  void KeyTog(int slot);
  void ClearSlot(int slot);
  void SetSlot(int slot, std::string bytes);
  void SetType(std::string_view code);
  void FillBoxes(const ContactRecord& record);
  void EmptyBoxes();

  bool Ask(const std::string& text, MessageIcon icon, bool default_no);
  bool ConfirmSave();
  bool ConfirmStorable();
  ContactRecord RecordFromControls();
  // The number of the record with the stamp Form_Load opened: 0 when it is
  // no longer in the file.
  Result<int> FindOpenedRecord() const;
  void ReportGone(std::string_view consequence);
  void CloseEditor();

  AppState& state_;
  EditorView& view_;
  Dialogs& dialogs_;
  Clock& clock_;
  Grid keyword_grid_;
  EditorMode mode_ = EditorMode::kExisting;
  std::string stamp_;   // of the opened record
  ContactRecord base_;  // supplies RecType when the type caption is none of the four
  std::string type_caption_;
  std::array<std::string, 3> slots_;  // Windows-1252, as shown
  bool scratch_visible_ = false;
};

}  // namespace tabrel
