#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "store/app_state.h"

namespace tabrel {

// Text boxes of the settings dialog.
enum class SettingsText {
  INI_Path1,
  INI_Path2,
  INI_CommPort,
  INI_PhoneAreaCode,
  INI_PhoneLongDistanceCode,
  INI_PhonePBX,
  INI_PrintLines,
  INI_PreviewLines,
  INI_LPad,
  INI_TPad,
  INI_QuickUpPath,
  INI_QuickUpTarget,
  INI_Editor,
  INI_Browser,
  INI_Mailer,
  kCount
};

// Check boxes of the settings dialog.
enum class SettingsCheck {
  FRI_Name,
  FRI_Surface,
  FRI_Phones,
  FRI_Email,
  FRI_Web,
  FRI_Notes,
  MailFormat,
  kCount
};

// Check box values: 0 clear, 1 ticked, 2 greyed.
struct SettingsForm {
  std::array<std::string, static_cast<std::size_t>(SettingsText::kCount)> texts;  // UTF-8
  std::array<int, static_cast<std::size_t>(SettingsCheck::kCount)> checks{};

  std::string& text(SettingsText t) { return texts[static_cast<std::size_t>(t)]; }
  const std::string& text(SettingsText t) const { return texts[static_cast<std::size_t>(t)]; }
  int& check(SettingsCheck c) { return checks[static_cast<std::size_t>(c)]; }
  int check(SettingsCheck c) const { return checks[static_cast<std::size_t>(c)]; }
};

// Label, tooltip and input limit (0: none) of each text box, for the view.
struct SettingsTextControl {
  SettingsText id;
  std::string_view name;
  std::string_view label;
  std::string_view tooltip;
  int max_length;
};
struct SettingsCheckControl {
  SettingsCheck id;
  std::string_view name;
  std::string_view label;
};
extern const std::array<SettingsTextControl, 15> kSettingsTextControls;
extern const std::array<SettingsCheckControl, 7> kSettingsCheckControls;

// The help topic of a text box: the four "(see help)" tooltips and the
// groups of boxes have topics of their own.
std::string_view HelpTopicOf(SettingsText id);
inline constexpr std::string_view kSettingsHelpTopic = "settings";

inline constexpr std::string_view kSettingsCaption = "Tabrel Configuration Settings";

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual void Fill(const SettingsForm& form) = 0;
  virtual SettingsForm Read() const = 0;
  virtual void SetText(SettingsText id, const std::string& text) = 0;
  // Hides and unloads the dialog.
  virtual void CloseDialog() = 0;
};

// The settings dialog. Form_Load reads tr30.ini into the program-wide
// settings and shows them; Save writes what the boxes hold, after asking
// when a box holds characters Windows-1252 cannot store.
class SettingsDialog {
 public:
  SettingsDialog(AppState& state, SettingsView& view, Dialogs& dialogs, HelpViewer& help);

  // The dialog opens (File > Configuration Settings).
  void Form_Load();
  // Save.
  void INI_Save_Click();
  // Cancel.
  void INI_Cancel_Click();
  // "Use Current" beside Path #1.
  void Command1_Click();
  // "Use Current" beside Path #2.
  void Command2_Click();
  // F1 while a text box (or, with nothing, another control) has the focus:
  // the help at that box's topic.
  void Form_HelpKey(std::optional<SettingsText> focused);

  // The record INI_Save_Click would store for `form`, given the stored
  // `base`; a line count outside the 16-bit range yields a message instead.
  static Result<SettingsRecord> Apply(const SettingsRecord& base, const SettingsForm& form);
  static SettingsForm FormOf(const SettingsRecord& settings);

 private:
  // False when a box holds text that would be stored as "?" and the user
  // goes back to change it.
  bool ConfirmStorable(const SettingsForm& form);

  AppState& state_;
  SettingsView& view_;
  Dialogs& dialogs_;
  HelpViewer& help_;
};

}  // namespace tabrel
