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

}  // namespace
}  // namespace tabrel
