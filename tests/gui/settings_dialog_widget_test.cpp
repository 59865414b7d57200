// The settings dialog widget: tr30.ini shown in the boxes, and the boxes
// saved back through the presenter.
#include "gui/settings_dialog_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "base/text.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_help.h"
#include "fakes/temp_dir.h"
#include "store/data_set.h"

namespace tabrel::gui {
namespace {

using T = SettingsText;
using C = SettingsCheck;

class SettingsDialogWidgetTest : public ::testing::Test {
 protected:
  SettingsDialogWidgetTest() : state(dir.path()) {
    SettingsRecord settings = DefaultSettings();
    settings.Mailer = "mutt";
    EXPECT_TRUE(WriteSettingsFile(dir.path(), settings).ok());
  }
  testing::TempDir dir;
  AppState state;
  testing::FakeDialogs dialogs;
  testing::FakeHelp help;
};

TEST_F(SettingsDialogWidgetTest, EscapeCancelsAndSaveWritesWhatTheBoxesHold) {
  state.data_path = "/srv/tabrel/office/";
  const std::string before = dir.Read("tr30.ini");
  SettingsDialogWidget dialog(state, dialogs, help);
  dialog.Open();
  dialog.TextBox(T::INI_PrintLines)->setText("55");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dir.Read("tr30.ini"), before);

  // Opened again, it shows the stored settings, not the cancelled edit.
  dialog.Open();
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.TextBox(T::INI_PrintLines)->text(), "60");
  EXPECT_EQ(dialog.TextBox(T::INI_Mailer)->text(), "mutt");
  EXPECT_EQ(dialog.CheckBox(C::FRI_Name)->checkState(), Qt::Checked);
  EXPECT_EQ(dialog.CheckBox(C::MailFormat)->checkState(), Qt::Unchecked);

  dialog.TextBox(T::INI_Path1)->setText(QString::fromUtf8("/home/m\xC3\xBCller/contacts"));
  dialog.findChild<QPushButton*>("Command2")->click();  // "Use Current" beside path 2
  dialog.TextBox(T::INI_PrintLines)->setText("55");
  dialog.CheckBox(C::MailFormat)->click();
  dialog.CheckBox(C::FRI_Notes)->click();
  dialog.SaveButton()->click();

  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(dialogs.messages.empty());
  auto saved = ReadSettingsFile(dir.path());
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(Trim(saved.value().Path1), "/home/m\xFCller/contacts");  // Windows-1252 on disk
  EXPECT_EQ(Trim(saved.value().Path2), "/srv/tabrel/office/");
  EXPECT_EQ(saved.value().PrintLines, 55);
  EXPECT_EQ(saved.value().MailFormat, "1");
  EXPECT_EQ(saved.value().FullNotes, "0");
  EXPECT_EQ(Trim(saved.value().Mailer), "mutt");
}

TEST_F(SettingsDialogWidgetTest, PathBoxesShowAnOrdinaryPathAndTheirTooltipTheWholeText) {
  SettingsDialogWidget dialog(state, dialogs, help);
  dialog.Open();
  const QString path = QStringLiteral("/home/someone/Documents/address-books/office/");
  QLineEdit* box = dialog.TextBox(T::INI_Path1);
  box->setText(path);
  EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(path));
  EXPECT_EQ(box->toolTip(), QStringLiteral("save an alternate data path here\n") + path);
  box->clear();
  EXPECT_EQ(box->toolTip(), QStringLiteral("save an alternate data path here"));
  // A print-lines value below 1 prints without page breaks, and says so.
  EXPECT_TRUE(dialog.TextBox(T::INI_PrintLines)
                  ->toolTip()
                  .contains(QStringLiteral("0 or less = no page breaks")));
}

}  // namespace
}  // namespace tabrel::gui
