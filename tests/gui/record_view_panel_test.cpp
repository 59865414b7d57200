// The record view panel of the main window: a row opened from the record
// list shows every field in its place, the panel's buttons and labels reach
// the presenter although the panel takes every key, and closing it gives the
// list back.
#include "gui/record_view_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

class RecordViewPanelTest : public MainWindowFixture {
 protected:
  RecordViewPanelTest() {
    ContactRecord r = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    r.Org = "Acme Tools";
    r.Add1 = "1 Main St";
    r.City = "Springfield";
    r.State = "IL";
    r.Zip = "62701";
    r.Country = "USA";
    r.Phone = "555-0100";
    r.EMail = "john@example.com";
    r.KW3 = "Work";
    r.Notes = "Met at the fair.\r\nLikes M\xFCller's bread.";
    Start({r, testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:01")}, {"Work"});
  }

  QString Text(const char* label) const {
    const QLabel* shown = Find<QLabel>(label);
    return shown ? shown->text() : QString();
  }
  QGroupBox* Frame() const { return window.RecordPanel()->Frame(); }
  bool PanelShown() const { return Frame()->isVisible() && window.RecordPanel()->isVisible(); }
  void Click(const char* button) {
    Find<QPushButton>(button)->click();
    Settle();
  }
};

TEST_F(RecordViewPanelTest, DoubleClickedRowShowsEveryFieldInItsPlace) {
  DoubleClickRecordRow(0);
  ASSERT_TRUE(PanelShown());
  EXPECT_FALSE(window.RecordView()->isVisible());
  EXPECT_EQ(Frame()->title(), " John Smith ");
  const std::pair<const char*, const char*> shown[] = {
      {"ViewName", "John Smith"},
      {"ViewOrg", "Acme Tools"},
      {"ViewAdd1", "1 Main St"},
      {"ViewPhone", "555-0100"},
      {"ViewEmail", "john@example.com"},
      {"ViewKW3", "Work"},
      {"ViewRecType", "Public, Individual"},
  };
  for (const auto& [label, text] : shown) EXPECT_EQ(Text(label), text) << label;
  EXPECT_EQ(Text("ViewCSZ").trimmed(), "Springfield, IL 62701 - USA");
  EXPECT_EQ(window.RecordPanel()->Notes()->toPlainText(),
            QString::fromUtf8("Met at the fair.\nLikes M\xC3\xBCller's bread."));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecordViewPanelTest, EnterOpensThePanelItsKeysStepAndEscapeGivesTheListBack) {
  window.FocusControl(Control::kMainGrid);
  Press(Qt::Key_Return);
  ASSERT_TRUE(PanelShown());

  // Full stop steps on; a letter that would jump in the list is taken too.
  Press(Qt::Key_Period, ".");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  Press(Qt::Key_S, "s");
  EXPECT_EQ(window.presenter().MainGrid().Row(), 2);

  Press(Qt::Key_Escape);
  EXPECT_FALSE(window.RecordPanel()->isVisible());
  EXPECT_TRUE(window.RecordView()->isVisible());
  EXPECT_EQ(window.FocusedControl(), Control::kMainGrid);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecordViewPanelTest, ButtonsAndCopyLabelsReachThePresenter) {
  DoubleClickRecordRow(0);
  Click("ViewNext");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  Click("ViewBack");

  // The question's default answer is No: copied, not printed.
  Click("ViewCopyAddress");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Address in clipboard!");
  EXPECT_EQ(clipboard.text.substr(0, 11), "John Smith\n");
  EXPECT_TRUE(printer.jobs.empty());

  dialogs.answers.push_back(MessageAnswer::kYes);
  Click("Envelope");
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].title, "Ready to print envelope!");
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_TRUE(printer.jobs[0].envelope);

  Click("CloseView");
  EXPECT_FALSE(PanelShown());
  EXPECT_TRUE(window.RecordView()->isVisible());
}

}  // namespace
}  // namespace tabrel::gui
