#include "settings/settings_dialog.h"

#include <algorithm>

#include "base/basic_number.h"
#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "store/data_set.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using T = SettingsText;
using C = SettingsCheck;

// The stored field of each text box, and whether Save trims it first.
struct TextBinding {
  SettingsText id;
  std::string SettingsRecord::*member;
  layout::Span span;
  bool trim;
};

const TextBinding kTextBindings[] = {
    {T::INI_Path1, &SettingsRecord::Path1, layout::kPath1, true},
    {T::INI_Path2, &SettingsRecord::Path2, layout::kPath2, true},
    {T::INI_CommPort, &SettingsRecord::CommPort, layout::kCommPort, true},
    {T::INI_PhoneAreaCode, &SettingsRecord::AreaCode, layout::kAreaCode, true},
    {T::INI_PhoneLongDistanceCode, &SettingsRecord::LongDistanceCode, layout::kLongDistanceCode,
     true},
    {T::INI_PhonePBX, &SettingsRecord::PbxCode, layout::kPbxCode, true},
    {T::INI_QuickUpPath, &SettingsRecord::QuickUpPath, layout::kQuickUpPath, false},
    {T::INI_QuickUpTarget, &SettingsRecord::QuickUpTarget, layout::kQuickUpTarget, false},
    {T::INI_Editor, &SettingsRecord::Editor, layout::kEditor, true},
    {T::INI_Browser, &SettingsRecord::Browser, layout::kBrowser, true},
    {T::INI_Mailer, &SettingsRecord::Mailer, layout::kMailer, true},
};

struct CheckBinding {
  SettingsCheck id;
  std::string SettingsRecord::*member;
};

const CheckBinding kCheckBindings[] = {
    {C::FRI_Name, &SettingsRecord::FullName},     {C::FRI_Surface, &SettingsRecord::FullSurface},
    {C::FRI_Phones, &SettingsRecord::FullPhones}, {C::FRI_Email, &SettingsRecord::FullEmail},
    {C::FRI_Web, &SettingsRecord::FullWeb},       {C::FRI_Notes, &SettingsRecord::FullNotes},
    {C::MailFormat, &SettingsRecord::MailFormat},
};

Result<std::int16_t> LineCount(const std::string& text, std::string_view label) {
  const auto value = RoundToInt16(BasicVal(Trim(text)));
  if (!value) {
    return Status::Error(
        error_number::kOverflow,
        "\"" + std::string(label) + "\" must be a whole number from -32768 to 32767.");
  }
  return *value;
}

std::string Margin(const std::string& text) {
  return ShortestDecimal(BasicVal(text)).substr(0, 2);
}

}  // namespace

const std::array<SettingsTextControl, 15> kSettingsTextControls = {{
    {T::INI_Path1, "INI_Path1", "Path #1", "save an alternate data path here", 0},
    {T::INI_Path2, "INI_Path2", "Path #2", "save an alternate data path here", 0},
    {T::INI_CommPort, "INI_CommPort", "Modem Comm Port",
     "the communication port you modem is on (1, 2, 3, or 4, probably)", 1},
    {T::INI_PhoneAreaCode, "INI_PhoneAreaCode", "Your Area Code", "your telephone area code", 0},
    {T::INI_PhoneLongDistanceCode, "INI_PhoneLongDistanceCode", "Long Distance Code",
     "long distance or calling card number", 0},
    {T::INI_PhonePBX, "INI_PhonePBX", "PBX Code (outside line)",
     "number to get outside line (probably 9)", 0},
    {T::INI_PrintLines, "INI_PrintLines", "Number of lines to print before starting new page",
     "printer dependant, default = 60, 0 or less = no page breaks  (see help)", 3},
    {T::INI_PreviewLines, "INI_PreviewLines", "Number of lines to include in print preview",
     "system memory dependant, default = 250  (see help)", 4},
    {T::INI_LPad, "INI_LPad", "Move the envelope address right (tabs)",
     "envelope format, left margin tabs, default = 8  (see help)", 2},
    {T::INI_TPad, "INI_TPad", "Move the envelope address down (lines)",
     "envelope format, upper margin spacing, default = 12  (see help)", 2},
    {T::INI_QuickUpPath, "INI_QuickUpPath", "Quick Update Path",
     "type in path to frequently needed common records", 0},
    {T::INI_QuickUpTarget, "INI_QuickUpTarget", "Quick Update Target", "", 0},
    {T::INI_Editor, "INI_Editor", "Word Processor",
     "over-ride the default (or specify) a word processor", 80},
    {T::INI_Browser, "INI_Browser", "Web Browser",
     "over-ride the default (or specify) a web browser", 80},
    {T::INI_Mailer, "INI_Mailer", "Email Program",
     "over-ride the default (or specify) an email program", 80},
}};

const std::array<SettingsCheckControl, 7> kSettingsCheckControls = {{
    {C::FRI_Name, "FRI_Name", "Person's Name"},
    {C::FRI_Surface, "FRI_Surface", "Surface Address"},
    {C::FRI_Phones, "FRI_Phones", "Phone Number(s)"},
    {C::FRI_Email, "FRI_Email", "Email Address"},
    {C::FRI_Web, "FRI_Web", "Web Site Address (URL)"},
    {C::FRI_Notes, "FRI_Notes", "Notes"},
    {C::MailFormat, "MailFormat", "Include Names in Email Addresses"},
}};

SettingsDialog::SettingsDialog(AppState& state, SettingsView& view, Dialogs& dialogs,
                               HelpViewer& help)
    : state_(state), view_(view), dialogs_(dialogs), help_(help) {}

std::string_view HelpTopicOf(SettingsText id) {
  switch (id) {
    case T::INI_Path1:
    case T::INI_Path2:
      return "settings.paths";
    case T::INI_CommPort:
    case T::INI_PhoneAreaCode:
    case T::INI_PhoneLongDistanceCode:
    case T::INI_PhonePBX:
      return "settings.modem";
    case T::INI_PrintLines:
      return "settings.print-lines";
    case T::INI_PreviewLines:
      return "settings.preview-lines";
    case T::INI_LPad:
      return "settings.envelope-left";
    case T::INI_TPad:
      return "settings.envelope-top";
    case T::INI_QuickUpPath:
    case T::INI_QuickUpTarget:
      return "settings.quick-update";
    case T::INI_Editor:
    case T::INI_Browser:
    case T::INI_Mailer:
      return "settings.programs";
    case T::kCount:
      break;
  }
  return kSettingsHelpTopic;
}

void SettingsDialog::Form_HelpKey(std::optional<SettingsText> focused) {
  help_.ShowTopic(std::string(focused ? HelpTopicOf(*focused) : kSettingsHelpTopic));
}

SettingsForm SettingsDialog::FormOf(const SettingsRecord& s) {
  SettingsForm form;
  for (const auto& b : kTextBindings) form.text(b.id) = DecodeCp1252(Trim(s.*b.member));
  form.text(T::INI_PreviewLines) = std::to_string(s.PreviewLines);
  form.text(T::INI_PrintLines) = std::to_string(s.PrintLines);
  form.text(T::INI_LPad) = DecodeCp1252(Trim(s.LPad));
  form.text(T::INI_TPad) = DecodeCp1252(Trim(s.TPad));
  for (const auto& b : kCheckBindings) form.check(b.id) = (s.*b.member == "1") ? 1 : 0;
  return form;
}

Result<SettingsRecord> SettingsDialog::Apply(const SettingsRecord& base, const SettingsForm& form) {
  SettingsRecord s = base;
  auto preview =
      LineCount(form.text(T::INI_PreviewLines), "Number of lines to include in print preview");
  if (!preview.ok()) return preview.status();
  auto print =
      LineCount(form.text(T::INI_PrintLines), "Number of lines to print before starting new page");
  if (!print.ok()) return print.status();
  s.PreviewLines = preview.value();
  s.PrintLines = print.value();
  for (const auto& b : kTextBindings) {
    const std::string bytes = EncodeCp1252(form.text(b.id)).bytes;
    s.*b.member = Fit(b.trim ? Trim(bytes) : bytes, b.span.width);
  }
  for (const auto& b : kCheckBindings) {
    s.*b.member = std::to_string(std::clamp(form.check(b.id), 0, 2));
  }
  s.LPad = Fit(Margin(form.text(T::INI_LPad)), layout::kLPad.width);
  s.TPad = Fit(Margin(form.text(T::INI_TPad)), layout::kTPad.width);
  return s;
}

void SettingsDialog::Form_Load() {
  auto stored = ReadSettingsFile(state_.program_folder);
  if (stored.ok()) {
    state_.settings = stored.value();
  } else {
    ReportDiskError(dialogs_, stored.status(), "The settings shown are those in use.");
  }
  view_.Fill(FormOf(state_.settings));
}

bool SettingsDialog::ConfirmStorable(const SettingsForm& form) {
  std::string boxes;
  for (const SettingsTextControl& control : kSettingsTextControls) {
    if (EncodeCp1252(form.text(control.id)).replaced == 0) continue;
    if (!boxes.empty()) boxes += ", ";
    boxes += control.label;
  }
  if (boxes.empty()) return true;
  return dialogs_.Show({"Some characters in " + boxes +
                            " cannot be stored in the settings and would be saved as \"?\".\r\n"
                            "Save anyway? Answer No to go back and change them.",
                        "Confirm", MessageIcon::kExclamation, MessageButtons::kYesNo,
                        MessageAnswer::kNo}) == MessageAnswer::kYes;
}

void SettingsDialog::INI_Save_Click() {
  const SettingsForm form = view_.Read();
  // A path that came back with "?" in it would name another folder.
  if (!ConfirmStorable(form)) return;
  auto updated = Apply(state_.settings, form);
  if (!updated.ok()) {
    dialogs_.Show({updated.status().description() + " Nothing was saved.",
                   "Error!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  if (Status s = WriteSettingsFile(state_.program_folder, updated.value(), &state_.write_fault);
      !s.ok()) {
    ReportDiskError(dialogs_, s, "The settings were not saved.");
    return;
  }
  state_.settings = updated.value();
  view_.CloseDialog();
}

void SettingsDialog::INI_Cancel_Click() {
  view_.CloseDialog();
}

void SettingsDialog::Command1_Click() {
  view_.SetText(T::INI_Path1, state_.data_path);
}
void SettingsDialog::Command2_Click() {
  view_.SetText(T::INI_Path2, state_.data_path);
}

}  // namespace tabrel
