#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_help.h"
#include "fakes/temp_dir.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using T = SettingsText;
using C = SettingsCheck;

// The dialog's boxes as plain data: Fill shows a form, the test edits
// `form`, and Read hands it back to the presenter.
class FakeSettingsView : public SettingsView {
 public:
  void Fill(const SettingsForm& shown) override { form = shown; }
  SettingsForm Read() const override { return form; }
  void SetText(SettingsText id, const std::string& text) override { form.text(id) = text; }
  void CloseDialog() override { ++closed; }
  SettingsForm form;
  int closed = 0;
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  testing::TempDir program;
  AppState state{program.path()};
  FakeSettingsView view;
  testing::FakeDialogs dialogs;
  testing::FakeHelp help;
  SettingsDialog dialog{state, view, dialogs, help};

  void SetUp() override { ASSERT_TRUE(LoadSettings(state).ok()); }

  SettingsRecord Stored() const { return DecodeSettings(program.Read("tr30.ini")); }
};

TEST_F(SettingsDialogTest, FormLoadShowsWhatTheFileHoldsAndCancelWritesNothing) {
  // Hand-made bytes at their documented offsets.
  std::string before = program.Read("tr30.ini");
  before.replace(40, 2, "c\0", 2);  // 99, little-endian
  before.replace(42, 11, "  /data/one");
  before.replace(349, 1, "2");  // greyed counts as off
  before.replace(715, 6, "/bin/b");
  program.Write("tr30.ini", before);
  state.settings.PrintLines = 1;  // stale in-memory value
  dialog.Form_Load();
  EXPECT_EQ(state.settings, DecodeSettings(before));
  EXPECT_EQ(state.settings.Path1.substr(0, 12), "  /data/one ");
  EXPECT_EQ(view.form.text(T::INI_PreviewLines), "99");
  EXPECT_EQ(view.form.text(T::INI_Path1), "/data/one");
  EXPECT_EQ(view.form.text(T::INI_Browser), "/bin/b");
  EXPECT_EQ(view.form.check(C::FRI_Name), 1);
  EXPECT_EQ(view.form.check(C::FRI_Notes), 0);
  view.form.text(T::INI_PrintLines) = "42";
  dialog.INI_Cancel_Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(program.Read("tr30.ini"), before);
  EXPECT_EQ(state.settings.PrintLines, 60);
}

TEST_F(SettingsDialogTest, SaveWritesTheBoxesTrimmedAndCutAndClosesTheDialog) {
  dialog.Form_Load();
  view.form.text(T::INI_PhoneAreaCode) = " 613 ";
  view.form.text(T::INI_CommPort) = " 34 ";
  view.form.text(T::INI_Browser) = "/opt/br\u00F8wser";
  view.form.text(T::INI_QuickUpPath) = "  /q/path ";  // kept with its blanks
  view.form.check(C::FRI_Name) = 2;
  view.form.check(C::FRI_Phones) = 0;
  view.form.check(C::MailFormat) = 1;
  dialog.INI_Save_Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(dialogs.messages.empty());
  // Each at its documented offset.
  const std::string ini = program.Read("tr30.ini");
  EXPECT_EQ(ini.substr(303, 11), "3613       ");
  EXPECT_EQ(ini.substr(344, 7), "2101111");
  EXPECT_EQ(ini.substr(355, 100), Fit("  /q/path ", 100));
  EXPECT_EQ(ini.substr(715, 81), Fit("/opt/br\xF8wser", 80) + "1") << "stored as Windows-1252";
  EXPECT_EQ(state.settings, Stored()) << "the next operation must see the saved settings";
}

TEST_F(SettingsDialogTest, LineCountOutsideSixteenBitsIsRefusedAndNothingWritten) {
  const std::string before = program.Read("tr30.ini");
  const struct {
    T id;
    const char* text;
    const char* label;
  } cases[] = {{T::INI_PreviewLines, "32767.5", "Number of lines to include in print preview"},
               {T::INI_PrintLines, "-32769", "Number of lines to print before starting new page"}};
  for (const auto& [id, text, label] : cases) {
    SCOPED_TRACE(text);
    dialogs.messages.clear();
    dialog.Form_Load();
    view.form.text(T::INI_Path1) = "/should/not/be/saved";
    view.form.text(id) = text;
    dialog.INI_Save_Click();
    EXPECT_EQ(program.Read("tr30.ini"), before);
    EXPECT_EQ(view.closed, 0) << "the user must be able to correct the box";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "\"" + std::string(label) +
                                            "\" must be a whole number from -32768 to 32767. "
                                            "Nothing was saved.");
    EXPECT_EQ(dialogs.messages[0].title, "Error!");
    EXPECT_EQ(Trim(state.settings.Path1), "");
  }
}

TEST_F(SettingsDialogTest, TextTheCodePageCannotHoldIsNamedBeforeSavingAndNoGoesBack) {
  dialog.Form_Load();
  const std::string before = program.Read("tr30.ini");
  view.form.text(T::INI_Path1) = "/home/\u0394/data";  // a Greek capital delta
  view.form.text(T::INI_Browser) = "firefox \u2603";
  view.form.text(T::INI_Path2) = "/home/m\u00fcller/";  // storable
  dialogs.answers = {MessageAnswer::kNo};
  dialog.INI_Save_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Some characters in Path #1, Web Browser cannot be stored in the settings and would "
            "be saved as \"?\".\r\nSave anyway? Answer No to go back and change them.");
  EXPECT_EQ(dialogs.messages[0].title, "Confirm");
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(program.Read("tr30.ini"), before);
  dialogs.answers = {MessageAnswer::kYes};
  dialog.INI_Save_Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(Trim(Stored().Path1), "/home/?/data");
}

// A settings file that cannot be read or written: the dialog says so and
// what it did instead, and the settings in use stay.
TEST_F(SettingsDialogTest, ReadAndWriteFailuresAreToldAndChangeNothing) {
  const SettingsRecord in_use = state.settings;
  std::filesystem::remove(program.File("tr30.ini"));
  std::filesystem::create_directory(program.File("tr30.ini"));
  dialog.Form_Load();
  std::filesystem::remove(program.File("tr30.ini"));
  state.write_fault = [](RewriteStep step) { return step == RewriteStep::kRename; };
  view.form.text(T::INI_Path1) = "/not/saved";
  dialog.INI_Save_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[0].text.ends_with("\r\nThe settings shown are those in use.") &&
              dialogs.messages[1].text.ends_with("\r\nThe settings were not saved."));
  EXPECT_TRUE(view.closed == 0 && state.settings == in_use);
}

}  // namespace
}  // namespace tabrel
