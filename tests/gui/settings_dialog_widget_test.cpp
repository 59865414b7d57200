// The settings dialog widget: tr30.ini shown in the boxes, and the boxes
// saved back through the presenter.
#include "gui/settings_dialog_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "fakes/fake_dialogs.h"
#include "fakes/temp_dir.h"
#include "store/data_set.h"
#include "store/text.h"

namespace tabrel::gui {
namespace {

using T = SettingsText;
using C = SettingsCheck;

class SettingsDialogWidgetTest : public ::testing::Test {
 protected:
  SettingsDialogWidgetTest() : state(dir.path()) {}

  SettingsRecord Stored() const {
    auto stored = ReadSettingsFile(dir.path());
    EXPECT_TRUE(stored.ok());
    return stored.ok() ? stored.value() : SettingsRecord{};
  }

  testing::TempDir dir;
  AppState state;
  testing::FakeDialogs dialogs;
};

TEST_F(SettingsDialogWidgetTest, ShowsTheStoredSettingsAndSavesWhatTheBoxesHold) {
  SettingsRecord settings = DefaultSettings();
  settings.Mailer = "mutt";
  ASSERT_TRUE(WriteSettingsFile(dir.path(), settings).ok());
  SettingsDialogWidget dialog(state, dialogs);
  dialog.Open();

  ASSERT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.windowTitle(), "Tabrel Configuration Settings");
  EXPECT_EQ(dialog.TextBox(T::INI_PrintLines)->text(), "60");
  EXPECT_EQ(dialog.TextBox(T::INI_Mailer)->text(), "mutt");
  EXPECT_EQ(dialog.TextBox(T::INI_CommPort)->maxLength(), 1);
  EXPECT_EQ(dialog.CheckBox(C::FRI_Name)->checkState(), Qt::Checked);
  EXPECT_EQ(dialog.CheckBox(C::MailFormat)->checkState(), Qt::Unchecked);

  dialog.TextBox(T::INI_Path1)->setText(QString::fromUtf8("/home/m\xC3\xBCller/contacts"));
  dialog.TextBox(T::INI_CommPort)->setText("3");
  dialog.TextBox(T::INI_PrintLines)->setText("55");
  dialog.CheckBox(C::MailFormat)->click();
  dialog.CheckBox(C::FRI_Notes)->click();
  dialog.SaveButton()->click();

  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialogs.messages.empty());
  const SettingsRecord saved = Stored();
  EXPECT_EQ(Trim(saved.Path1), "/home/m\xFCller/contacts");  // Windows-1252 on disk
  EXPECT_EQ(saved.CommPort, "3");
  EXPECT_EQ(saved.PrintLines, 55);
  EXPECT_EQ(saved.MailFormat, "1");
  EXPECT_EQ(saved.FullNotes, "0");
  EXPECT_EQ(Trim(saved.Mailer), "mutt");
}

TEST_F(SettingsDialogWidgetTest, GreyedCheckBoxReadsBackAsTwoUntilClicked) {
  SettingsDialogWidget dialog(state, dialogs);
  SettingsForm form;
  form.check(C::FRI_Web) = 2;
  form.check(C::FRI_Email) = 1;
  dialog.Fill(form);

  EXPECT_EQ(dialog.CheckBox(C::FRI_Web)->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(dialog.Read().check(C::FRI_Web), 2);
  EXPECT_EQ(dialog.Read().check(C::FRI_Email), 1);
  dialog.CheckBox(C::FRI_Web)->click();
  dialog.CheckBox(C::FRI_Web)->click();
  EXPECT_EQ(dialog.Read().check(C::FRI_Web), 0) << "a user's clicks only tick and clear";
}

TEST_F(SettingsDialogWidgetTest, EscapeCancelsWithoutWriting) {
  ASSERT_TRUE(WriteSettingsFile(dir.path(), DefaultSettings()).ok());
  const std::string before = dir.Read("tr30.ini");
  SettingsDialogWidget dialog(state, dialogs);
  dialog.Open();
  dialog.TextBox(T::INI_Path2)->setText("/elsewhere");

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);

  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dir.Read("tr30.ini"), before);
}

TEST_F(SettingsDialogWidgetTest, UseCurrentFillsThePathBoxWithTheDataPath) {
  state.data_path = "/srv/tabrel/office/";
  SettingsDialogWidget dialog(state, dialogs);
  dialog.Open();

  auto* beside_path2 = dialog.findChild<QPushButton*>("Command2");
  ASSERT_NE(beside_path2, nullptr);
  EXPECT_EQ(beside_path2->text(), "Use Current");
  beside_path2->click();
  EXPECT_EQ(dialog.TextBox(T::INI_Path2)->text(), "/srv/tabrel/office/");
  EXPECT_TRUE(dialog.TextBox(T::INI_Path1)->text().isEmpty());
}

}  // namespace
}  // namespace tabrel::gui
