// The keyword edit frame of the main window: the Keywords menu opens it, what
// is typed there reaches keyword.dat through the presenter, and keys typed in
// it stay out of the lists' letter jumps.
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

using testing::Keyword;

class KeywordFrameTest : public MainWindowFixture {
 protected:
  KeywordFrameTest() {
    Start({testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00")}, {"Family", "Work"});
    window.FocusControl(Control::kKeywordGrid);
  }
  QGroupBox* Frame() const { return Find<QGroupBox>("KeyFrame"); }
  QLineEdit* Edit() const { return Find<QLineEdit>("KeywordEdit"); }
  QStringList Keywords() const { return Column(window.KeywordView()); }
};

TEST_F(KeywordFrameTest, TypedKeywordsAreSavedSortedAndListed) {
  EXPECT_TRUE(Frame()->isHidden());
  Edit()->setText("Old text");
  Trigger(MenuId::mu_NewKey);
  EXPECT_FALSE(Frame()->isHidden());
  EXPECT_EQ(Edit()->text(), "");
  EXPECT_FALSE(window.KeyOpPersonal());

  // The letters would jump in the keyword list if it still counted as focused.
  Type("Golf");
  EXPECT_EQ(window.FocusedControl(), Control::kNone);
  EXPECT_EQ(Edit()->text(), "Golf");
  Press(Qt::Key_Return);
  EXPECT_EQ(dir.Read("keyword.dat"), Keyword("Family") + Keyword("Golf") + Keyword("Work"));
  EXPECT_EQ(Keywords(), (QStringList{"Family", "Golf", "Work"}));
  EXPECT_TRUE(Frame()->isHidden());
  // The focus goes back to the list the frame was opened from.
  EXPECT_EQ(window.FocusedControl(), Control::kKeywordGrid);

  // A personal keyword is marked, and the choice lasts for the next add.
  Trigger(MenuId::mu_NewKey);
  Find<QRadioButton>("KeyOpPersonal")->click();
  Edit()->setText("Band");
  Find<QPushButton>("KeySave")->click();
  Settle();
  EXPECT_EQ(Keywords().last(), "~Band");
  Trigger(MenuId::mu_NewKey);
  EXPECT_TRUE(window.KeyOpPersonal());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(KeywordFrameTest, EscapeAndCancelCloseWithoutSaving) {
  const std::string before = dir.Read("keyword.dat");
  for (const bool escape : {true, false}) {
    Trigger(MenuId::mu_NewKey);
    Type("Golf");
    escape ? Press(Qt::Key_Escape) : Find<QPushButton>("KeyCancel")->click();
    EXPECT_TRUE(Frame()->isHidden());
    EXPECT_EQ(window.FocusedControl(), Control::kKeywordGrid) << escape;
  }
  EXPECT_EQ(dir.Read("keyword.dat"), before);
  EXPECT_EQ(Keywords(), (QStringList{"Family", "Work"}));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tabrel::gui
