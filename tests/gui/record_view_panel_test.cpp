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

ContactRecord Smith() {
  ContactRecord r = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
  r.Title = "Dr.";
  r.Org = "Acme Tools";
  r.Add1 = "1 Main St";
  r.Add2 = "Suite 4";
  r.City = "Springfield";
  r.State = "IL";
  r.Zip = "62701";
  r.Country = "USA";
  r.Phone = "555-0100";
  r.Ext = "12";
  r.Fax = "555-0101";
  r.Cellular = "555-0102";
  r.Beeper = "555-0103";
  r.EMail = "john@example.com";
  r.Web = "www.example.com";
  r.KW1 = "Family";
  r.KW3 = "Work";
  r.Notes = "Met at the fair.\r\nLikes M\xFCller's bread.";
  return r;
}

class RecordViewPanelTest : public MainWindowFixture {
 protected:
  void StartWithTwoRecords() {
    ContactRecord widgets = testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:01");
    widgets.EMail = "sales@widget.example";
    Start({Smith(), widgets}, {"Family", "Work"});
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
  StartWithTwoRecords();
  EXPECT_FALSE(window.RecordPanel()->isVisible());

  DoubleClickRecordRow(0);

  ASSERT_TRUE(PanelShown());
  EXPECT_FALSE(window.RecordView()->isVisible());
  EXPECT_EQ(Frame()->title(), " John Smith ");
  EXPECT_EQ(Text("ViewName"), "John Smith, Dr.");
  EXPECT_EQ(Text("ViewOrg"), "Acme Tools");
  EXPECT_EQ(Text("ViewAdd1"), "1 Main St");
  EXPECT_EQ(Text("ViewAdd2"), "Suite 4");
  // The country keeps its stored padding.
  EXPECT_EQ(Text("ViewCSZ").trimmed(), "Springfield, IL 62701 - USA");
  EXPECT_EQ(Text("ViewPhone"), "555-0100");
  EXPECT_EQ(Text("ViewExt"), "12");
  EXPECT_EQ(Text("ViewFax"), "555-0101");
  EXPECT_EQ(Text("ViewCellular"), "555-0102");
  EXPECT_EQ(Text("ViewBeeper"), "555-0103");
  EXPECT_EQ(Text("ViewEmail"), "john@example.com");
  EXPECT_EQ(Text("ViewWeb"), "www.example.com");
  EXPECT_EQ(Text("ViewKW1"), "Family");
  EXPECT_EQ(Text("ViewKW2"), "");
  EXPECT_EQ(Text("ViewKW3"), "Work");
  EXPECT_EQ(Text("ViewRecType"), "Public, Individual");
  EXPECT_EQ(Text("ViewRecAge"), "Last modified: 01-02-2003");
  EXPECT_EQ(window.RecordPanel()->Notes()->toPlainText(),
            QString::fromUtf8("Met at the fair.\nLikes M\xC3\xBCller's bread."));
  EXPECT_TRUE(window.RecordPanel()->Notes()->isReadOnly());
  EXPECT_EQ(window.RecordPanel()->toolTip(), "background for view frame");
  EXPECT_EQ(Find<QLabel>("ViewEmail")->toolTip(), "double-click to place in clipboard");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecordViewPanelTest, EnterOpensThePanelItsKeysStepAndEscapeGivesTheListBack) {
  StartWithTwoRecords();
  window.FocusControl(Control::kMainGrid);
  Press(Qt::Key_Return);
  ASSERT_TRUE(PanelShown());

  // Full stop steps on; a letter that would jump in the list is taken too.
  Press(Qt::Key_Period, ".");
  EXPECT_EQ(Text("ViewName"), " ");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  EXPECT_EQ(Frame()->title(), " Widget Company ");
  Press(Qt::Key_S, "s");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  EXPECT_EQ(window.presenter().MainGrid().Row(), 2);

  Press(Qt::Key_Escape);
  EXPECT_FALSE(Frame()->isVisible());
  EXPECT_FALSE(window.RecordPanel()->isVisible());
  EXPECT_TRUE(window.RecordView()->isVisible());
  EXPECT_EQ(window.FocusedControl(), Control::kMainGrid);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecordViewPanelTest, ButtonsAndCopyLabelsReachThePresenter) {
  StartWithTwoRecords();
  DoubleClickRecordRow(0);

  Click("ViewNext");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  Click("ViewNext");  // past the last row: back to the first
  EXPECT_EQ(Text("ViewName"), "John Smith, Dr.");
  Click("ViewBack");
  EXPECT_EQ(Text("ViewOrg"), "Widget Company");
  Click("ViewBack");

  QLabel* web = Find<QLabel>("ViewWeb");
  DoubleClick(web, web->rect().center());
  EXPECT_EQ(clipboard.text, "www.example.com");
  QLabel* email = Find<QLabel>("ViewEmail");
  DoubleClick(email, email->rect().center());
  EXPECT_EQ(clipboard.text, "john@example.com");

  // The question's default answer is No: copied, not printed.
  Click("ViewCopyAddress");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Address in clipboard!");
  EXPECT_EQ(clipboard.text.substr(0, 16), "John Smith, Dr. ");
  dialogs.answers.push_back(MessageAnswer::kYes);
  Click("ViewCopyAll");
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].title, "Record in clipboard!");
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_FALSE(printer.jobs[0].lines.empty());

  Click("CloseView");
  EXPECT_FALSE(PanelShown());
  EXPECT_TRUE(window.RecordView()->isVisible());
}

TEST_F(RecordViewPanelTest, PanelHidesWhenTheListIsFilledAgain) {
  StartWithTwoRecords();
  DoubleClickRecordRow(1);
  ASSERT_TRUE(PanelShown());

  window.MenuAction(MenuId::mu_DisplayAll)->trigger();
  Settle();
  EXPECT_FALSE(window.RecordPanel()->isVisible());
  EXPECT_TRUE(window.RecordView()->isVisible());
}

}  // namespace
}  // namespace tabrel::gui
