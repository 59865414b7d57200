#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/formats/comma_contact.h"
#include "exchange/formats/record_builder.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

inline constexpr std::string_view kCommaParseCaption = "Comma-Delimited Import Field Selector";

// The window's fixed texts, for the view to build its controls with.
struct CommaControl {
  std::string_view name;
  std::string_view caption;
  std::string_view tooltip;
};
inline constexpr CommaControl kCommaFileLabel = {"Label1", "",
                                                 "this is the file you have selected"};
inline constexpr CommaControl kCommaInstructions = {
    "Label22",
    "The \"Import File Data Fields\" list on the right shows the first five records from the data "
    "file you selected. You must match up the fields with the \"Tabrel Data Fields\" list in the "
    "middle. Highlight each item on the right in turn and then click on the correct field number "
    "box to make the field number appear. Tabrel fields which have no corresponding import file "
    "field number will simply be left empty. All the new records will appear at the end of the "
    "main list, and will have the word shown below as keyword #1.",
    ""};
inline constexpr CommaControl kCommaLinkHint = {
    "LinkHint",
    "A field number suggested from the file's field names can be changed the same way; clicking "
    "a box while a RECORD line is highlighted empties it.",
    ""};
inline constexpr CommaControl kCommaPreviewHeading = {"Label20", "Import File Data Fields", ""};
inline constexpr CommaControl kCommaFieldsHeading = {"Label21", "Tabrel Data Fields", ""};
inline constexpr CommaControl kCommaHeaderBox = {
    "FirstLineNames", "First line holds field names",
    "the first line names the fields: it is not imported, and the names suggest the links"};
inline constexpr CommaControl kCommaEncodingLabel = {
    "EncodingLabel",
    "Text encoding:", "how the file's characters are written; the preview shows them"};
inline constexpr CommaControl kCommaIndividual = {
    "OptionIndividual", "Default to Individual",
    "if both a person's name and an organization are found, record as a person"};
inline constexpr CommaControl kCommaOrganization = {
    "OptionOrganization", "Default to Organization",
    "if both a person's name and an organization are found, record as organization"};
inline constexpr CommaControl kCommaExtras = {
    "IncludeSpareParts", "Add Extra Items to Notes",
    "append all unused fields to the notes (max 500 characters)"};
inline constexpr CommaControl kCommaKeywordBox = {"DefaultKey1", "", ""};
inline constexpr CommaControl kCommaImportButton = {"Command1", "Import",
                                                    "start the import operation"};
inline constexpr CommaControl kCommaCancelButton = {"Command2", "Cancel",
                                                    "quit import utility without further action"};

// The record fields and their link labels, in the order the import assigns
// them (RecordField order).
struct CommaLinkControl {
  RecordField field;
  std::string_view caption;  // the field's name in the window
  std::string_view name;     // the link label
};
inline constexpr std::array<CommaLinkControl, kRecordFieldCount> kCommaLinkControls = {{
    {RecordField::kLastName, "Last Name", "LastNameLink"},
    {RecordField::kFirstName, "First Name", "FirstNameLink"},
    {RecordField::kTitle, "Title", "TitleLink"},
    {RecordField::kOrg, "Organization", "OrgLink"},
    {RecordField::kPhone, "Phone Number", "PhoneLink"},
    {RecordField::kExt, "Phone Extension", "ExtLink"},
    {RecordField::kFax, "FAX Number", "FaxLink"},
    {RecordField::kCellular, "Mobile Phone", "CellularLink"},
    {RecordField::kBeeper, "Pager Number", "BeeperLink"},
    {RecordField::kEMail, "E-Mail", "INetLink"},
    {RecordField::kWeb, "Website", "URLLink"},
    {RecordField::kAdd1, "Address Line 1", "Add1Link"},
    {RecordField::kAdd2, "Address Line 2", "Add2Link"},
    {RecordField::kCity, "City", "CityLink"},
    {RecordField::kState, "State", "StateLink"},
    {RecordField::kZip, "Zip Code", "ZipLink"},
    {RecordField::kCountry, "Country", "CountryLink"},
    {RecordField::kNotes, "Notes", "NotesLink"},
}};

// The field selector window CommaParse. Texts cross as UTF-8; line breaks
// are CR LF.
class CommaParseView {
 public:
  virtual ~CommaParseView() = default;
  // Label1: the file and how many records it holds.
  virtual void SetFileText(const std::string& text) = 0;
  // The data set the records go into.
  virtual void SetTargetText(const std::string& text) = 0;
  // InputList: the preview, one entry per line.
  virtual void SetPreview(const std::vector<std::string>& entries) = 0;
  // The link label of `field`: the column number ("" when not linked), and
  // the column's name for a tooltip.
  virtual void SetLink(RecordField field, const std::string& number, const std::string& name) = 0;
  // "First line holds field names".
  virtual void SetHeaderBox(bool checked) = 0;
  virtual bool HeaderBox() const = 0;
  // The encoding list: an index into kTextEncodingChoices.
  virtual void SetEncoding(std::size_t index) = 0;
  virtual std::size_t Encoding() const = 0;
  // DefaultKey1.
  virtual void SetKeyword(const std::string& keyword) = 0;
  virtual std::string Keyword() const = 0;
  // OptionIndividual (true) or OptionOrganization (false).
  virtual void SetIndividual(bool individual) = 0;
  virtual bool Individual() const = 0;
  // IncludeSpareParts.
  virtual void SetExtras(bool extras) = 0;
  virtual bool Extras() const = 0;
  // ProgressBar1 and the hourglass pointer.
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  virtual void SetBusy(bool busy) = 0;
  // Hides and unloads the window; a view that deletes itself does so after
  // the event procedure returns.
  virtual void Close() = 0;
};

// The presenter of the comma-delimited field selector: a preview of the
// file's first records split into numbered fields, the links from record
// fields to those numbers (suggested from the field names when the first
// line holds them), the keyword, the type rule and the extras option; then
// the import into the data set that was in use when the window opened.
//
// Import reads the file afresh, builds every record in memory, refuses a
// blank keyword, a file that is not text or holds no record, and a result
// past 32,767 records; offers the backup set right before writing; writes
// tabrel.dat and keyword.dat once, as a pair (a failure leaves both as they
// were and says so); then reports and closes. Cancel writes nothing. Only
// the copy of the program holding the data set's lock imports, as in the
// import window (MayImportInto).
class CommaParse {
 public:
  // `state` (the program's, read again at each press), the view, the host
  // and the services must outlive the window.
  CommaParse(const AppState& state, CommaParseView& view, MainListHost& host, Dialogs& dialogs,
             Clock& clock, std::string path);

  // The window opens: reads the file and shows the preview and the links.
  void Form_Load();
  // The user clicked entry `index` (from 0) of the preview.
  void InputList_Click(int index);
  // The user clicked the link label of `field` (GetLinkNo): it takes the
  // number of the field entry clicked last; after a RECORD line, or before
  // any entry was clicked, it is emptied.
  void Link_Click(RecordField field);
  // The user ticked or cleared "First line holds field names".
  void FirstLineNames_Click();
  // The user chose another text encoding.
  void Encoding_Click();
  // "Import" pressed.
  void Command1_Click();
  // "Cancel" pressed.
  void Command2_Click();

  // The options as the window now shows them.
  CommaImportOptions Options() const;
  const std::string& data_path() const { return target_.data_path; }

 private:
  // Reads the file as the window's encoding says and shows what it holds;
  // with `suggest` the links start again from the field names.
  void Reread(bool suggest);
  void ShowLinks();
  void Tell(const std::string& text, const char* title, MessageIcon icon);

  const AppState& live_;
  AppState target_;  // the state when the window opened: its data path
  CommaParseView& view_;
  MainListHost& host_;
  Dialogs& dialogs_;
  Clock& clock_;
  std::string path_;
  CommaColumns columns_;
  std::size_t columns_shown_ = 0;  // the highest column number the preview shows
  std::size_t records_ = 0;        // the records the file held when last read
  CommaLinks links_{};
  // The column number of each preview entry; 0 for a RECORD line.
  std::vector<std::size_t> entry_columns_;
  int clicked_ = -1;
};

}  // namespace tabrel
