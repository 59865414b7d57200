#include "store/settings_dialog.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_settings_view.h"
#include "fakes/temp_dir.h"
#include "store/data_set.h"
#include "store/settings_record.h"
#include "store/text.h"

namespace tabrel {
namespace {

using T = SettingsText;
using C = SettingsCheck;
using testing::FakeDialogs;
using testing::FakeSettingsView;
using testing::TempDir;

class SettingsDialogTest : public ::testing::Test {
 protected:
  TempDir program;
  AppState state{program.path()};
  FakeSettingsView view;
  FakeDialogs dialogs;
  SettingsDialog dialog{state, view, dialogs};

  void SetUp() override { ASSERT_TRUE(LoadSettings(state).ok()); }

  SettingsRecord Stored() const { return DecodeSettings(program.Read("tr30.ini")); }
  // Form_Load, then change one box and save.
  SettingsRecord SaveWith(T id, const std::string& text) {
    dialog.Form_Load();
    view.form.text(id) = text;
    dialog.INI_Save_Click();
    return Stored();
  }
};

TEST_F(SettingsDialogTest, FormLoadShowsWhatTheFileHoldsNotWhatIsInMemory) {
  SettingsRecord on_disk = DefaultSettings();
  on_disk.PreviewLines = 99;
  on_disk.Path1 = Fit("  /data/one", 100);
  on_disk.CommPort = "2";
  on_disk.FullWeb = "0";
  on_disk.FullNotes = "2";  // greyed counts as off
  on_disk.MailFormat = "1";
  ASSERT_TRUE(WriteSettingsFile(program.path(), on_disk).ok());
  dialog.Form_Load();
  EXPECT_EQ(state.settings, on_disk);
  EXPECT_EQ(view.fills, 1);
  EXPECT_EQ(view.form.text(T::INI_PreviewLines), "99");
  EXPECT_EQ(view.form.text(T::INI_PrintLines), "60");
  EXPECT_EQ(view.form.text(T::INI_Path1), "/data/one");
  EXPECT_EQ(view.form.text(T::INI_Path2), "");
  EXPECT_EQ(view.form.text(T::INI_CommPort), "2");
  EXPECT_EQ(view.form.text(T::INI_LPad), "8");
  EXPECT_EQ(view.form.text(T::INI_TPad), "12");
  EXPECT_EQ(view.form.check(C::FRI_Name), 1);
  EXPECT_EQ(view.form.check(C::FRI_Web), 0);
  EXPECT_EQ(view.form.check(C::FRI_Notes), 0);
  EXPECT_EQ(view.form.check(C::MailFormat), 1);
}

TEST_F(SettingsDialogTest, SaveWritesTheBoxesAndClosesTheDialog) {
  dialog.Form_Load();
  view.form.text(T::INI_PhoneAreaCode) = " 613 ";
  view.form.text(T::INI_PhonePBX) = "9";
  view.form.text(T::INI_Mailer) = "  /usr/bin/mutt  ";
  view.form.check(C::FRI_Phones) = 0;
  view.form.check(C::MailFormat) = 1;
  dialog.INI_Save_Click();
  EXPECT_EQ(view.closed, 1);
  const SettingsRecord stored = Stored();
  EXPECT_EQ(stored.AreaCode, "613       ");
  EXPECT_EQ(stored.PbxCode, Fit("9", 10));
  EXPECT_EQ(stored.Mailer, Fit("/usr/bin/mutt", 80));
  EXPECT_EQ(stored.FullPhones, "0");
  EXPECT_EQ(stored.MailFormat, "1");
  EXPECT_EQ(stored.PreviewLines, 250);
  EXPECT_EQ(state.settings, stored) << "the next operation must see the saved settings";
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsDialogTest, LineCountsTakeTheNumericValueRoundedHalfToEven) {
  struct Case {
    const char* text;
    int stored;
  };
  for (const Case& c :
       {Case{"100", 100}, Case{" 2.5 ", 2}, Case{"3.5", 4}, Case{"1 2", 12}, Case{"60 lines", 60},
        Case{"abc", 0}, Case{"", 0}, Case{"-1.5", -2}, Case{"&H7FFF", 32767}, Case{"1e3", 1000}}) {
    EXPECT_EQ(SaveWith(T::INI_PreviewLines, c.text).PreviewLines, c.stored) << c.text;
    EXPECT_EQ(SaveWith(T::INI_PrintLines, c.text).PrintLines, c.stored) << c.text;
  }
}

TEST_F(SettingsDialogTest, LineCountOutsideSixteenBitsIsRefusedAndNothingWritten) {
  for (const char* text : {"32768", "-32769", "1e6", "99999"}) {
    for (T id : {T::INI_PreviewLines, T::INI_PrintLines}) {
      const std::string before = program.Read("tr30.ini");
      dialogs.messages.clear();
      dialog.Form_Load();
      view.form.text(T::INI_Path1) = "/should/not/be/saved";
      view.form.text(id) = text;
      dialog.INI_Save_Click();
      EXPECT_EQ(program.Read("tr30.ini"), before) << text;
      EXPECT_EQ(view.closed, 0) << "the user must be able to correct the box";
      ASSERT_EQ(dialogs.messages.size(), 1u) << text;
      EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kExclamation);
      EXPECT_NE(dialogs.messages[0].text.find("32767"), std::string::npos);
      EXPECT_EQ(Trim(state.settings.Path1), "");
    }
  }
}

TEST_F(SettingsDialogTest, MarginsAreTheShortestNumberCutToTwoCharacters) {
  struct Case {
    const char* text;
    const char* stored;
  };
  for (const Case& c : {Case{"5.5", "5."}, Case{"100", "10"}, Case{"8", "8 "}, Case{" 12 ", "12"},
                        Case{"x", "0 "}, Case{"1e3", "10"}, Case{"07", "7 "}}) {
    EXPECT_EQ(SaveWith(T::INI_LPad, c.text).LPad, c.stored) << c.text;
    EXPECT_EQ(SaveWith(T::INI_TPad, c.text).TPad, c.stored) << c.text;
  }
}

TEST_F(SettingsDialogTest, TextBoxesAreTrimmedAndCutButQuickUpdatePathsKeepTheirBlanks) {
  EXPECT_EQ(SaveWith(T::INI_CommPort, " 34 ").CommPort, "3");
  EXPECT_EQ(SaveWith(T::INI_Path2, "  /mnt/b  ").Path2, Fit("/mnt/b", 100));
  EXPECT_EQ(SaveWith(T::INI_Editor, std::string(90, 'e')).Editor, std::string(80, 'e'));
  EXPECT_EQ(SaveWith(T::INI_QuickUpPath, "  /q/path ").QuickUpPath, Fit("  /q/path ", 100));
  EXPECT_EQ(SaveWith(T::INI_QuickUpTarget, " /q/out").QuickUpTarget, Fit(" /q/out", 100));
  EXPECT_EQ(SaveWith(T::INI_Browser, "/opt/br\u00F8wser").Browser, Fit("/opt/br\xF8wser", 80))
      << "stored as Windows-1252";
}

TEST_F(SettingsDialogTest, CheckBoxValueIsWrittenAsItsDigit) {
  dialog.Form_Load();
  view.form.check(C::FRI_Name) = 2;
  view.form.check(C::FRI_Surface) = 0;
  view.form.check(C::FRI_Email) = 1;
  dialog.INI_Save_Click();
  const std::string ini = program.Read("tr30.ini");
  EXPECT_EQ(ini.substr(344, 7), "2011111");
  // Greyed reads back as not ticked.
  dialog.Form_Load();
  EXPECT_EQ(view.form.check(C::FRI_Name), 0);
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndKeepsWhatFormLoadRead) {
  state.settings.PrintLines = 1;  // stale in-memory value
  const std::string before = program.Read("tr30.ini");
  dialog.Form_Load();
  view.form.text(T::INI_PrintLines) = "42";
  view.form.text(T::INI_Path1) = "/x";
  dialog.INI_Cancel_Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(program.Read("tr30.ini"), before);
  EXPECT_EQ(state.settings.PrintLines, 60);
}

TEST_F(SettingsDialogTest, UseCurrentPutsTheDataPathInTheBoxWithoutSaving) {
  state.data_path = "/srv/contacts/";
  const std::string before = program.Read("tr30.ini");
  dialog.Form_Load();
  dialog.Command1_Click();
  EXPECT_EQ(view.form.text(T::INI_Path1), "/srv/contacts/");
  EXPECT_EQ(view.form.text(T::INI_Path2), "");
  state.data_path = "/srv/other/";
  dialog.Command2_Click();
  EXPECT_EQ(view.form.text(T::INI_Path2), "/srv/other/");
  EXPECT_EQ(program.Read("tr30.ini"), before);
  dialog.INI_Save_Click();
  EXPECT_EQ(Stored().Path1, Fit("/srv/contacts/", 100));
  EXPECT_EQ(Stored().Path2, Fit("/srv/other/", 100));
}

TEST_F(SettingsDialogTest, SaveKeepsBytesAfterTheRecordAndTheReservedFields) {
  std::string ini = program.Read("tr30.ini");
  ini.replace(0, 8, "reserved");
  ini.replace(255, 8, "\x01\x02\x03\x04\x05\x06\x07\x08");
  program.Write("tr30.ini", ini + "trailer");
  SaveWith(T::INI_PhonePBX, "8");
  const std::string after = program.Read("tr30.ini");
  ASSERT_EQ(after.size(), 821u + 7);
  EXPECT_EQ(after.substr(0, 8), "reserved");
  EXPECT_EQ(after.substr(255, 8), "\x01\x02\x03\x04\x05\x06\x07\x08");
  EXPECT_EQ(after.substr(334, 1), "8");
  EXPECT_EQ(after.substr(821), "trailer");
}

TEST_F(SettingsDialogTest, UnreadableProgramFolderIsReportedAndNothingChanges) {
  AppState lost(program.path() + "gone/");
  lost.settings = DefaultSettings();
  SettingsDialog lost_dialog(lost, view, dialogs);
  lost_dialog.Form_Load();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Disk access error!");
  EXPECT_EQ(dialogs.messages[0].text.rfind("Error 76: ", 0), 0u) << dialogs.messages[0].text;
  EXPECT_EQ(view.form.text(T::INI_PreviewLines), "250");
  view.form.text(T::INI_PreviewLines) = "10";
  lost_dialog.INI_Save_Click();
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(lost.settings.PreviewLines, 250) << "an unsaved change must not take effect";
}

}  // namespace
}  // namespace tabrel
