// The main window under the offscreen platform: menus, the record list after
// start-up, user actions reaching the presenter, and the print preview.
#include "gui/main_window_widget.h"

#include <QBrush>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>

#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

bool FixedPitch(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(QStringLiteral("iiii")) ==
         metrics.horizontalAdvance(QStringLiteral("MMMM"));
}

class MainWindowWidgetTest : public MainWindowFixture {
 protected:
  void StartWithThree() {
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    Start({smith, testing::Contact("3", "Brown", "Mary", "01-02-2003 10:00:01"),
           testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:02")},
          {"Family"});
  }
};

TEST_F(MainWindowWidgetTest, PhoneListPreviewCoversTheListsUntilClose) {
  StartWithThree();
  window.FocusControl(Control::kMainGrid);
  Trigger(MenuId::mu_SimplePhoneList);

  auto* text = Find<QPlainTextEdit>("Text1");
  auto* frame = Find<QGroupBox>("PrnOpFrame");
  ASSERT_TRUE(text && frame);
  EXPECT_TRUE(text->isVisible());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->title(), " Print Options");
  // Records without a phone number are left out.
  EXPECT_EQ(text->toPlainText(), "\n\n\nSmith, John - 555-0100");
  EXPECT_FALSE(FixedPitch(text->font()));
  EXPECT_EQ(QApplication::focusWidget(), text);
  EXPECT_FALSE(window.RecordView()->isVisible());
  EXPECT_FALSE(window.KeywordView()->isVisible());
  for (MenuId id : {MenuId::mu_file, MenuId::mu_print, MenuId::mu_keywords}) {
    EXPECT_FALSE(window.MenuAction(id)->isEnabled());
  }
  EXPECT_TRUE(window.MenuAction(MenuId::mu_Help)->isEnabled());

  // An edit reaches the saved file with the files' line ends.
  text->appendPlainText(QString::fromUtf8("caf\xC3\xA9"));
  dialogs.input_answers.push_back(dir.File("saved.txt"));
  Find<QPushButton>("SendFile")->click();
  EXPECT_EQ(dir.Read("saved.txt"), "\r\n\r\n\r\nSmith, John - 555-0100\r\ncaf\xE9\r\n");

  Find<QPushButton>("CancelPrint")->click();
  Settle();
  EXPECT_FALSE(text->isVisible());
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(window.RecordView()->isVisible());
  EXPECT_TRUE(window.KeywordView()->isVisible());
  EXPECT_EQ(window.FocusedControl(), Control::kMainGrid);
  for (MenuId id : {MenuId::mu_file, MenuId::mu_print, MenuId::mu_keywords}) {
    EXPECT_TRUE(window.MenuAction(id)->isEnabled());
  }

  // Address labels line up in a fixed-pitch font until Close.
  Trigger(MenuId::mu_printMailingAddresses);
  EXPECT_TRUE(FixedPitch(text->font()));
  Find<QPushButton>("CancelPrint")->click();
  EXPECT_FALSE(FixedPitch(text->font()));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tabrel::gui
