// The preview every report ends in: its size limit, the text handed back to
// the file, the five buttons, and how a report that cannot be made ends.
#include "reports/print_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/print_preview_harness.h"

namespace tabrel {
namespace {

using testing::Contact;

constexpr const char* kAttention =
    "This list exceeds the size limit you have set for the built-in viewer. In order to edit it "
    "prior to printing, you must use your word processor or web browser. Note that you can "
    "adjust the preview length in Settings.";

// `count` lines "line 1" .. "line count", each ended by CR LF.
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

class PrintPreviewTest : public ::testing::Test, public testing::PrintPreviewHarness {};

TEST_F(PrintPreviewTest, AFileOfExactlyThePreviewLinesIsShownWholeAndEditable) {
  state.settings.PreviewLines = 5;
  for (int count : {0, 4, 5}) {
    Preview(NumberedLines(count));
    EXPECT_TRUE(preview.preview_complete()) << count;
    EXPECT_FALSE(view.read_only) << count;
    // The box begins with an empty line and has no line end after the last.
    std::string expected;
    for (int i = 1; i <= count; ++i) expected += "\r\nline " + std::to_string(i);
    EXPECT_EQ(view.preview_text, expected);
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(view.preview_visible);
  EXPECT_TRUE(view.print_options_visible);
  EXPECT_FALSE(view.toolbar_visible);
  EXPECT_FALSE(view.all_records_visible);
  EXPECT_FALSE(view.busy);
}

TEST_F(PrintPreviewTest, ALongerFileIsCutReadOnlyWithAWarning) {
  state.settings.PreviewLines = 5;
  Preview(NumberedLines(7));
  EXPECT_FALSE(preview.preview_complete());
  EXPECT_TRUE(view.read_only);
  EXPECT_EQ(view.preview_text,
            "\r\nline 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\nline 6"
            "\r\n\r\nnot all is displayed...");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, kAttention);
  EXPECT_EQ(dialogs.messages[0].title, "Attention!");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::kOk);
  // The preview is set once, not grown line by line.
  EXPECT_EQ(view.text_sets, 1);
}

TEST_F(PrintPreviewTest, LinesEndAtCrLfOrALoneCrAndTheFileIsDecoded) {
  Preview("a\rb\nc\r\nd\xE9");
  EXPECT_EQ(view.preview_text, "\r\na\r\nb\nc\r\nd\xC3\xA9");
}

TEST_F(PrintPreviewTest, AReportAtThePreviewLimitStaysEditable) {
  // Two header lines and one line a record.
  std::vector<ContactRecord> records;
  for (int i = 0; i < 4; ++i) {
    auto r = Contact("1", "Name" + std::to_string(i), "", "01-01-2000 " + std::to_string(i));
    r.Phone = "555";
    records.push_back(r);
  }
  ListRecords(records);
  state.settings.PreviewLines = 6;
  preview.mu_SimplePhoneList_Click(list);
  EXPECT_TRUE(preview.preview_complete());
  state.settings.PreviewLines = 5;
  preview.CancelPrint_Click();
  preview.mu_SimplePhoneList_Click(list);
  EXPECT_FALSE(preview.preview_complete());
  EXPECT_TRUE(view.read_only);
}

TEST_F(PrintPreviewTest, ReportsLeaveTheEditorsCopyAndEndOnTheLastRow) {
  auto a = Contact("1", "Adams", "Ann", "01-01-2000 1");
  auto b = Contact("2", "Acme", "", "01-01-2000 2");
  ListRecords({a, b});
  state.editor_record = Contact("3", "Shown", "In the panel", "09-09-2009 9");
  const ContactRecord before = state.editor_record;
  preview.mu_printEmail_Click(list);
  EXPECT_EQ(state.editor_record, before);
  EXPECT_EQ(list.Row(), 2);
  EXPECT_EQ(list.Col(), kIdColumn);
  EXPECT_FALSE(view.progress_visible);
  EXPECT_FALSE(menus.enabled);
}

TEST_F(PrintPreviewTest, EditsOfACompletePreviewReachTheFileWithCrLfLineEnds) {
  Preview("\r\n\r\nold\r\n");
  view.preview_text = "\nfirst\ncaf\xC3\xA9\r\nlast";
  ASSERT_TRUE(preview.WritePreviewBack().ok());
  EXPECT_EQ(PreviewFile(), "\r\nfirst\r\ncaf\xE9\r\nlast\r\n");

  // Print writes the box back first, so the edit is what is printed.
  view.preview_text = "\r\nedited";
  preview.SendPrint_Click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(JobLines(0), (std::vector<std::string>{"\t", "\tedited"}));
}

TEST_F(PrintPreviewTest, ACutPreviewIsNeverWrittenBack) {
  state.settings.PreviewLines = 1;
  Preview("one\r\ntwo\r\nthree\r\n");
  view.preview_text = "changed";
  preview.SendPrint_Click();
  EXPECT_EQ(PreviewFile(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(JobLines(0), (std::vector<std::string>{"\tone", "\ttwo", "\tthree"}));
}

TEST_F(PrintPreviewTest, CloseRestoresTheWindowAndListPrinting) {
  ListRecords({Contact("1", "Adams", "Ann", "01-01-2000 1")});
  preview.mu_printMailingAddresses_Click(list);
  EXPECT_TRUE(preview.label_mode());
  EXPECT_TRUE(view.fixed_pitch);
  preview.CancelPrint_Click();
  EXPECT_FALSE(preview.label_mode());
  EXPECT_FALSE(view.fixed_pitch);
  EXPECT_EQ(view.preview_text, "");
  EXPECT_FALSE(view.preview_visible);
  EXPECT_FALSE(view.print_options_visible);
  EXPECT_TRUE(view.toolbar_visible);
  EXPECT_TRUE(view.all_records_visible);
  EXPECT_TRUE(menus.enabled);
  // The preview file stays on disk.
  EXPECT_TRUE(dir.Exists("tr_view.tmp"));

  Preview("\r\n\r\nx\r\n");
  preview.SendPrint_Click();
  EXPECT_EQ(printer.jobs[0].lines[0].font, "Arial");
  EXPECT_EQ(JobLines(0).back(), "\tx");
}

TEST_F(PrintPreviewTest, TheHtmlQuestionDefaultsToNo) {
  auto plain = Contact("1", "Adams", "Ann", "01-01-2000 1");
  auto linked = Contact("2", "Acme", "", "01-01-2000 2");
  linked.Web = "acme.example";
  ListRecords({plain, linked});
  preview.mu_PrintComplete_HTML_Click(list);
  ASSERT_FALSE(dialogs.messages.empty());
  const Message& question = dialogs.messages[0];
  EXPECT_EQ(question.text,
            "Do you wish to include records which will not have \"clickable\" links?");
  EXPECT_EQ(question.title, "Confirm");
  EXPECT_EQ(question.icon, MessageIcon::kQuestion);
  EXPECT_EQ(question.buttons, MessageButtons::kYesNo);
  EXPECT_EQ(question.default_answer, MessageAnswer::kNo);
  const std::string page = PreviewFile();
  EXPECT_NE(page.find("Acme"), std::string::npos);
  EXPECT_EQ(page.find("Adams"), std::string::npos);
}

TEST_F(PrintPreviewTest, NoFieldCanPutMarkupIntoTheHtmlPage) {
  auto r = Contact("2", "<script>alert(1)</script>", "", "01-01-2000 1");
  r.Web = "x\" onclick=\"alert(2)";
  r.LastName = "<i>";
  r.EMail = "a@b\"><img src=x>";
  r.Notes = "</p><script>alert(3)</script> & more";
  r.Add1 = "<iframe>";
  ListRecords({r});
  dialogs.answers.push_back(MessageAnswer::kYes);
  preview.mu_PrintComplete_HTML_Click(list);
  const std::string page = PreviewFile();
  for (const char* markup : {"<script", "<i>", "<img", "<iframe", "\" onclick", "</p>"}) {
    EXPECT_EQ(page.find(markup), std::string::npos) << markup;
  }
  EXPECT_NE(page.find("&lt;/p&gt;&lt;script&gt;alert(3)&lt;/script&gt; &amp; more"),
            std::string::npos);
  EXPECT_NE(page.find("<b><a href=\"x&quot; onclick=&quot;alert(2)\">"), std::string::npos);
}

// ---- Print

class ListPrintingTest : public PrintPreviewTest {
 protected:
  // A cut preview, so that the file is printed as it is.
  void PreviewAsIs(const std::string& bytes) {
    state.settings.PreviewLines = 0;
    Preview(bytes);
    dialogs.messages.clear();
  }
  std::vector<std::size_t> JobSizes() const {
    std::vector<std::size_t> sizes;
    for (const auto& job : printer.jobs) sizes.push_back(job.lines.size());
    return sizes;
  }
};

TEST_F(ListPrintingTest, WithoutPrintLinesEverythingIsOneDocumentInArialBold) {
  state.settings.PrintLines = 0;
  PreviewAsIs(NumberedLines(150) + "\r\n");
  preview.SendPrint_Click();
  ASSERT_EQ(JobSizes(), (std::vector<std::size_t>{151}));
  for (const auto& line : printer.jobs[0].lines) {
    EXPECT_EQ(line.text.front(), '\t');
    EXPECT_EQ(line.font, "Arial");
    EXPECT_TRUE(line.bold);
    EXPECT_EQ(line.points, 10);
  }
  EXPECT_EQ(printer.jobs[0].lines[0].text, "\tline 1");
  EXPECT_FALSE(view.busy);
}

TEST_F(ListPrintingTest, AListWithoutEmptyLinesGetsSixtyOneLinesAPage) {
  state.settings.PrintLines = 60;
  PreviewAsIs(NumberedLines(130));
  preview.SendPrint_Click();
  ASSERT_EQ(JobSizes(), (std::vector<std::size_t>{61, 3 + 61, 3 + 8}));
  const auto second = JobLines(1);
  EXPECT_EQ(std::vector<std::string>(second.begin(), second.begin() + 4),
            (std::vector<std::string>{"", "", "", "\tline 62"}));
  EXPECT_EQ(JobLines(2).back(), "\tline 130");
  EXPECT_EQ(printer.jobs[2].lines[0].font, "Arial");
}

TEST_F(ListPrintingTest, APageEndsAtTheFirstEmptyLineAmongItsLastFive) {
  state.settings.PrintLines = 60;
  // Blocks of two lines and an empty one, as the complete phone list has:
  // line 57 is the first empty line after line 55.
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "name\r\nnumbers\r\n\r\n";
  PreviewAsIs(text);
  preview.SendPrint_Click();
  ASSERT_GE(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[0].lines.size(), 57u);
  EXPECT_EQ(printer.jobs[1].lines.size(), 3u + 57u);
  EXPECT_EQ(JobLines(0).back(), "\t");

  // With blocks of four, line 56 is empty and ends the page.
  text.clear();
  for (int i = 1; i <= 30; ++i) text += "a\r\nb\r\nc\r\n  \r\n";
  PreviewAsIs(text);
  printer.jobs.clear();
  preview.SendPrint_Click();
  ASSERT_GE(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[0].lines.size(), 56u);
  EXPECT_EQ(printer.jobs[1].lines.size(), 3u + 56u);
}

TEST_F(ListPrintingTest, AFileEndingAtAPageEndPrintsOneMorePageOfEmptyLines) {
  state.settings.PrintLines = 60;
  PreviewAsIs(NumberedLines(61));
  preview.SendPrint_Click();
  ASSERT_EQ(JobSizes(), (std::vector<std::size_t>{61, 3}));
  EXPECT_EQ(JobLines(1), (std::vector<std::string>{"", "", ""}));
}

TEST_F(ListPrintingTest, APrinterFailureIsReportedAndEndsThePrinting) {
  state.settings.PrintLines = 60;
  PreviewAsIs(NumberedLines(200));
  printer.fail_with = Status::Error(57, "The printer is off line");
  preview.SendPrint_Click();
  EXPECT_EQ(printer.jobs.size(), 1u);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Error 57: The printer is off line\r\nThe list was not printed completely.");
  EXPECT_TRUE(view.print_options_visible);
  EXPECT_FALSE(view.busy);
}

TEST_F(ListPrintingTest, LabelsPrintFiftyNineThenSixtyLinesAPageInCourier) {
  std::vector<ContactRecord> records;
  for (int i = 0; i < 40; ++i) {
    records.push_back(
        Contact("1", "Last" + std::to_string(i), "First", "01-01-2000 " + std::to_string(i)));
  }
  ListRecords(records);
  preview.mu_printMailingAddresses_Click(list);
  ASSERT_EQ(PreviewFile().size(), 20u * (5 * 94 + 3));  // 120 lines
  view.preview_text = "\r\nedits do not reach label printing";
  preview.SendPrint_Click();
  ASSERT_EQ(JobSizes(), (std::vector<std::size_t>{4 + 59, 3 + 60, 3 + 1}));
  const auto first = JobLines(0);
  EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 4),
            (std::vector<std::string>(4, "")));
  // Label text from the fifth printed line on, without a tab.
  EXPECT_EQ(first[4].substr(0, 18), "  First Last0     ");
  EXPECT_EQ(first[9], " ");
  EXPECT_EQ(JobLines(1)[3], " ");  // the sixth line of the tenth row
  EXPECT_EQ(JobLines(2)[3], " ");
  for (const auto& job : printer.jobs) {
    for (const auto& line : job.lines) {
      EXPECT_EQ(line.font, "courier new");
      EXPECT_TRUE(line.bold);
      EXPECT_EQ(line.points, 10);
    }
  }
}

TEST_F(ListPrintingTest, FiftyNineLabelLinesEndWithAPageOfThreeEmptyLines) {
  std::string text;
  for (int i = 1; i <= 59; ++i) text += "label line\r\n";
  ListRecords({Contact("1", "A", "B", "01-01-2000 1")});
  preview.mu_printMailingAddresses_Click(list);
  dir.Write("tr_view.tmp", text);
  preview.SendPrint_Click();
  ASSERT_EQ(JobSizes(), (std::vector<std::size_t>{63, 3}));
}

// ---- Envelope

class EnvelopeTest : public PrintPreviewTest {
 protected:
  void SetUp() override {
    state.editor_record = Contact("2", "Acme Ltd", "", "01-01-2000 1");
    state.editor_record.Add1 = "1 High St";
    state.editor_record.Country = "France  ";
  }
};

TEST_F(EnvelopeTest, DefaultMarginsGiveTwentyFourEmptyLinesAndEightTabs) {
  preview.Envelope_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Do you have an envelope ready in the printer?");
  EXPECT_EQ(dialogs.messages[0].title, "Ready to print envelope!");
  EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::kYesNo);
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_TRUE(printer.jobs[0].envelope);
  const std::string tabs(8, '\t');
  std::vector<std::string> expected(24, "");
  // An organisation without a contact person: the name line is one blank.
  for (const char* line : {" ", "Acme Ltd", "1 High St", ",  ", "France"}) {
    expected.push_back(tabs + line);
  }
  EXPECT_EQ(JobLines(0), expected);
  EXPECT_EQ(printer.jobs[0].lines[0].font, "Arial");
  EXPECT_TRUE(printer.jobs[0].lines[0].bold);
}

TEST_F(EnvelopeTest, ZeroMarginsPrintAtTheTopWithoutIndent) {
  state.settings.LPad = "0 ";
  state.settings.TPad = "  ";
  state.editor_record = Contact("1", "Baker", "Ann", "01-01-2000 2");
  state.editor_record.Title = "Owner";
  state.editor_record.Org = "Baker Tools";
  state.editor_record.Add2 = "Unit 4";
  state.editor_record.City = "Salem";
  state.editor_record.State = "OR";
  state.editor_record.Zip = "97301";
  preview.Envelope_Click();
  EXPECT_EQ(JobLines(0), (std::vector<std::string>{"Ann Baker, Owner", "Baker Tools", "Unit 4",
                                                   "Salem, OR 97301"}));
}

TEST_F(EnvelopeTest, NoPrintsNothingAndAFailureIsReported) {
  dialogs.answers.push_back(MessageAnswer::kNo);
  preview.Envelope_Click();
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_FALSE(printer.open.envelope);
  EXPECT_TRUE(printer.open.lines.empty());

  printer.fail_with = Status::Error(57, "No printer is installed");
  preview.Envelope_Click();
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[2].text,
            "Error 57: No printer is installed\r\nThe envelope was not printed.");
}

// ---- File

TEST_F(PrintPreviewTest, FileMovesThePreviewFileToTheGivenName) {
  Preview("\r\n\r\nlist\r\n");
  dialogs.input_answers.push_back(dir.File("saved.txt"));
  preview.SendFile_Click();
  ASSERT_EQ(dialogs.input_boxes.size(), 1u);
  EXPECT_EQ(dialogs.input_boxes[0].prompt, "You must supply a complete path and file name.");
  EXPECT_EQ(dialogs.input_boxes[0].title, "File Name?");
  EXPECT_EQ(dialogs.input_boxes[0].default_answer, "");
  EXPECT_EQ(dir.Read("saved.txt"), "\r\n\r\n\r\nlist\r\n");  // the box's empty line too
  EXPECT_FALSE(dir.Exists("tr_view.tmp"));
  EXPECT_TRUE(view.print_options_visible);

  // A bare name lands in the program folder, whatever the current folder is.
  dialogs.input_answers.push_back("bare.txt");
  preview.SendFile_Click();
  EXPECT_TRUE(dir.Exists("bare.txt"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintPreviewTest, FileNeverOverwritesAndReportsWhy) {
  Preview("\r\n\r\nlist\r\n");
  dir.Write("taken.txt", "keep me");
  dialogs.input_answers.push_back(dir.File("taken.txt"));
  preview.SendFile_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "File already exists (" + dir.File("taken.txt") + "): 58");
  EXPECT_EQ(dialogs.messages[0].title, "");
  EXPECT_EQ(dir.Read("taken.txt"), "keep me");
  EXPECT_TRUE(dir.Exists("tr_view.tmp"));

  dialogs.input_answers.push_back(dir.File("no/such/folder/x.txt"));
  preview.SendFile_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[1].text.ends_with(": 76")) << dialogs.messages[1].text;
  EXPECT_TRUE(dir.Exists("tr_view.tmp"));
}

TEST_F(PrintPreviewTest, FileCancelledOrEmptyChangesNothing) {
  state.settings.PreviewLines = 0;  // cut: nothing is written back either
  Preview("one\r\ntwo\r\n");
  dialogs.messages.clear();
  dialogs.input_answers.push_back(std::string());
  preview.SendFile_Click();
  preview.SendFile_Click();  // cancelled
  EXPECT_EQ(PreviewFile(), "one\r\ntwo\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// ---- .DOC and .HTML

TEST_F(PrintPreviewTest, HandOffStartsTheConfiguredProgramWithTheFileAsOneArgument) {
  state.settings.Editor = Fit("  \"/opt/My Editor/edit\" --new  ", 80);
  dir.Write("tr_list.doc", "an older list");
  Preview("\r\n\r\nlist\r\n");
  preview.PrintToFile_Click();
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0],
            (std::vector<std::string>{"/opt/My Editor/edit", "--new", dir.File("tr_list.doc")}));
  // A complete preview's file moves: the text box still holds the list.
  EXPECT_EQ(dir.Read("tr_list.doc"), "\r\n\r\n\r\nlist\r\n");
  EXPECT_FALSE(dir.Exists("tr_view.tmp"));
  EXPECT_TRUE(view.print_options_visible);

  // Print afterwards writes the preview file again from the text box.
  preview.SendPrint_Click();
  EXPECT_EQ(PreviewFile(), "\r\n\r\n\r\nlist\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintPreviewTest, WithoutAProgramTheDesktopOpensTheFile) {
  state.settings.Browser = std::string(80, ' ');
  state.settings.PreviewLines = 0;
  Preview("<HTML>\r\r\n");
  preview.PrintToHTML_Click();
  EXPECT_TRUE(shell.started.empty());
  EXPECT_EQ(shell.opened, (std::vector<std::string>{dir.File("tr_list.htm")}));
  // A cut preview exists only in its file, so the file is copied.
  EXPECT_EQ(dir.Read("tr_list.htm"), "<HTML>\r\r\n");
  EXPECT_EQ(PreviewFile(), "<HTML>\r\r\n");
}

TEST_F(PrintPreviewTest, AProgramThatCannotStartIsReportedAndThePreviewStays) {
  state.settings.Browser = Fit("no-such-browser", 80);
  Preview("\r\n\r\nlist\r\n");
  shell.fail_start = Status::Error(53, "File not found (no-such-browser)");
  preview.PrintToHTML_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const std::string& text = dialogs.messages[0].text;
  EXPECT_TRUE(text.starts_with("The web browser could not be started:\r\nno-such-browser\r\n"))
      << text;
  EXPECT_NE(text.find("File not found"), std::string::npos);
  EXPECT_TRUE(view.print_options_visible);
  EXPECT_TRUE(dir.Exists("tr_list.htm"));

  shell.fail_open = Status::Error(75, "No application for .doc files");
  preview.PrintToFile_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_NE(dialogs.messages[1].text.find("No application for .doc files"), std::string::npos);
}

TEST_F(PrintPreviewTest, APreviewFileMovedAwayIsReportedNotRead) {
  state.settings.PreviewLines = 0;
  Preview("one\r\ntwo\r\n");
  dialogs.messages.clear();
  dialogs.input_answers.push_back(dir.File("elsewhere.txt"));
  preview.SendFile_Click();
  ASSERT_FALSE(dir.Exists("tr_view.tmp"));

  preview.PrintToFile_Click();
  preview.SendPrint_Click();
  EXPECT_TRUE(shell.started.empty());
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_TRUE(printer.jobs.empty());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const auto& message : dialogs.messages) {
    EXPECT_NE(message.text.find("File has moved it"), std::string::npos) << message.text;
  }
  EXPECT_TRUE(view.print_options_visible);
}

// ---- Reports that cannot be made

class ReportFailureTest : public PrintPreviewTest {
 protected:
  void SetUp() override {
    ListRecords({Contact("1", "Adams", "Ann", "01-01-2000 1")});
    // Runs as root, so a folder in the way is what makes the write fail.
    std::filesystem::create_directory(dir.File("tr_view.tmp"));
  }
  void ExpectClosed() {
    EXPECT_TRUE(menus.enabled);
    EXPECT_FALSE(view.print_options_visible);
    EXPECT_FALSE(view.preview_visible);
    EXPECT_FALSE(view.progress_visible);
    EXPECT_TRUE(view.toolbar_visible);
    EXPECT_FALSE(view.busy);
    EXPECT_FALSE(preview.label_mode());
  }
};

TEST_F(ReportFailureTest, APhoneListRetriesOnceThenGivesUp) {
  for (int which = 0; which < 2; ++which) {
    dialogs.messages.clear();
    which == 0 ? preview.mu_SimplePhoneList_Click(list) : preview.mu_PrintPhoneList_Click(list);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& message : dialogs.messages) {
      EXPECT_EQ(message.title, "Error!");
      EXPECT_EQ(message.icon, MessageIcon::kCritical);
      EXPECT_NE(message.text.find("tr_view.tmp"), std::string::npos) << message.text;
    }
    EXPECT_NE(dialogs.messages[1].text.find("could not be made"), std::string::npos);
    ExpectClosed();
  }
}

TEST_F(ReportFailureTest, OtherReportsGiveUpAtTheFirstFailure) {
  preview.mu_PrintCompleteRecords_Click(list);
  preview.mu_printMailingAddresses_Click(list);
  preview.mu_printEmail_Click(list);
  dialogs.answers.push_back(MessageAnswer::kYes);
  preview.mu_PrintComplete_HTML_Click(list);
  // One failure message each, plus the HTML report's question.
  EXPECT_EQ(dialogs.messages.size(), 5u);
  ExpectClosed();
}

// The user clears the way while the first message is shown.
class ClearingDialogs : public testing::FakeDialogs {
 public:
  explicit ClearingDialogs(std::string blocker) : blocker_(std::move(blocker)) {}
  MessageAnswer Show(const Message& message) override {
    std::filesystem::remove(blocker_);
    return FakeDialogs::Show(message);
  }

 private:
  std::string blocker_;
};

TEST_F(ReportFailureTest, AFailureClearedBeforeTheRetryGivesTheList) {
  ClearingDialogs clearing(dir.File("tr_view.tmp"));
  Platform with_clearing{clearing, help, clock, files, printer, clipboard};
  PrintPreview retrying(state, view, menus, with_clearing, shell);
  auto r = Contact("1", "Adams", "Ann", "01-01-2000 1");
  r.Phone = "555";
  ListRecords({r});
  retrying.mu_SimplePhoneList_Click(list);
  EXPECT_EQ(clearing.messages.size(), 1u);
  EXPECT_EQ(PreviewFile(), "\r\n\r\nAdams, Ann - 555\r\n");
  EXPECT_TRUE(view.print_options_visible);
}

TEST_F(ReportFailureTest, AnUnreadableDataFolderEndsTheReport) {
  std::filesystem::remove(dir.File("tr_view.tmp"));
  state.data_path = dir.File("gone/");
  preview.mu_printEmail_Click(list);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find("gone"), std::string::npos);
  ExpectClosed();
}

}  // namespace
}  // namespace tabrel
