// The record view panel: what it shows, stepping through the list, the
// clipboard and the printer, and its keys.
#include <gtest/gtest.h>

#include "fakes/case_file.h"
#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "present/key_codes.h"

namespace tabrel {
namespace {

using testing::Contact;

class ViewPanelTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    auto ann = Contact("1", "Adams", "Ann", "01-01-2000 1");
    ann.Title = "Director";
    ann.City = "Salem";
    ann.EMail = "  ann@example.org";
    auto acme = Contact("4", "Acme", "", "02-03-2004 2");
    acme.Country = "France";
    testing::WriteContacts(dir, {ann, acme, Contact("3", "Cole", "Cid", "01-01-2000 3")});
    Pop();
  }
  void Open(int row) {
    window.MainGrid().SetRow(row);
    window.MainGrid_dblClick();
  }
};

TEST_F(ViewPanelTest, ShowsTheRowsRecordReadFromTheFileOverTheList) {
  Open(1);
  EXPECT_EQ(view.record_view.caption, " Ann Adams ");
  EXPECT_EQ(view.record_view.name, "Ann Adams, Director");
  EXPECT_EQ(view.record_view.csz, "Salem,  ");
  EXPECT_EQ(view.record_view.email, "ann@example.org");
  EXPECT_TRUE(view.shown.at(Control::kViewFrame) && view.shown.at(Control::kBackground));
  EXPECT_FALSE(window.MainGrid().visible());
  // "," and "." step back and on through the list, round its ends.
  std::string seen;
  for (const int key : {key::kComma, key::kPeriod, key::kPeriod, key::kComma, key::kComma}) {
    window.Form_KeyDown(key, 0);
    seen += view.record_view.name + "|";
  }
  EXPECT_EQ(seen, "Cid Cole|Ann Adams, Director| |Ann Adams, Director|Cid Cole|");
}

class ViewPanelFieldsTest : public testing::FileCaseTest, public testing::MainWindowHarness {};

TEST_P(ViewPanelFieldsTest, ShowsEveryFieldTrimmedAndDecodedInItsOwnLabel) {
  testing::WriteContacts(dir, {testing::RecordOf(GetParam())});
  Pop();
  window.MainGrid().SetRow(1);
  window.MainGrid_dblClick();
  const ViewPanelContent& v = view.record_view;
  EXPECT_EQ((std::vector<std::string>{v.caption.value_or("<none>"), v.name, v.org, v.add1, v.add2,
                                      v.csz, v.phone, v.ext, v.fax, v.cellular, v.beeper, v.email,
                                      v.web, v.kw1, v.kw2, v.kw3, v.rec_type, v.rec_age, v.notes}),
            GetParam().All("shown"));
}

TABREL_FILE_CASES(Records, ViewPanelFieldsTest, "mainwin", "view_panel.cases");

TEST_F(ViewPanelTest, ARowWhoseRecordIsGoneOrUnreadableIsNeitherShownNorDuplicated) {
  testing::WriteContacts(dir, {Contact("1", "Other", "Otto", "09-09-2009 9")});
  Open(1);
  window.mu_Duplicate_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const Message& m : dialogs.messages) {
    EXPECT_EQ(m.text,
              "This record is no longer in the data set; it may have been deleted or changed "
              "elsewhere. Press F4 to list the records again.");
    EXPECT_EQ(m.title, "Nothing to do!");
  }

  dialogs.messages.clear();
  state.data_path = dir.File("gone/");
  Open(1);
  window.mu_Duplicate_Click();
  const std::string error =
      "Error 76: Path not found (" + dir.File("gone/tabrel.dat") + ": No such file or directory)";
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, error);
  EXPECT_EQ(dialogs.messages[1].text, error + "\r\nNothing was duplicated.");
  for (const Message& m : dialogs.messages) EXPECT_EQ(m.title, "Disk access error!");
  EXPECT_FALSE(window.view_panel_visible());
  EXPECT_EQ(view.editor_opened, 0);
}

TEST_F(ViewPanelTest, CopiesGoToTheClipboardAndArePrintedOnlyAfterYes) {
  Open(1);
  window.ViewEmail_dblClick();
  EXPECT_EQ(clipboard.text, "ann@example.org");
  window.ViewCopyAddress_Click();
  EXPECT_EQ(clipboard.text, "Ann Adams, " + Fit("Director", 40) + "\nSalem,  \n");
  EXPECT_EQ(dialogs.messages.at(0).title, "Address in clipboard!");
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
  EXPECT_TRUE(printer.jobs.empty());

  dialogs.answers = {MessageAnswer::kYes};
  window.ViewCopyAll_Click();
  EXPECT_EQ(dialogs.messages[1].title, "Record in clipboard!");
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].lines[0].font, "Arial");

  printer.fail_with = Status::Error(482, "Printer error");
  dialogs.answers = {MessageAnswer::kYes};
  window.ViewCopyAddress_Click();
  EXPECT_EQ(dialogs.messages.back().text, "Error 482: Printer error\r\nNothing was printed.");
  EXPECT_EQ(dialogs.messages.back().title, "Error!");
}

}  // namespace
}  // namespace tabrel
