// The preview every report ends in: its size limit, the text handed back to
// the file, the five buttons, and how a report that cannot be made ends.
#include "reports/print_preview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fakes/print_preview_harness.h"

namespace tabrel {
namespace {

using testing::Contact;
using Lines = std::vector<std::string>;

// `count` lines "line 1" .. "line count", each ended by CR LF.
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

class PrintPreviewTest : public ::testing::Test, public testing::PrintPreviewHarness {
 protected:
  // A cut preview, so that the file is printed as it is.
  void PreviewAsIs(const std::string& bytes) {
    state.settings.PreviewLines = 0;
    Preview(bytes);
    dialogs.messages.clear();
    printer.jobs.clear();
  }
  // The lines on each page of the one print job a command must make.
  std::vector<std::size_t> PageSizes() const {
    EXPECT_EQ(printer.jobs.size(), 1u) << "one print command, one print job";
    if (printer.jobs.empty()) return {};
    const auto& job = printer.jobs.front();
    std::vector<std::size_t> sizes;
    std::size_t start = 0;
    for (std::size_t next : job.page_starts) {
      sizes.push_back(next - start);
      start = next;
    }
    sizes.push_back(job.lines.size() - start);
    return sizes;
  }
  // The texts of the printed lines of page `page` (from 0) of the job.
  Lines PageLines(std::size_t page) const {
    const auto& job = printer.jobs.at(0);
    const std::size_t start = page == 0 ? 0 : job.page_starts.at(page - 1);
    const std::size_t end =
        page < job.page_starts.size() ? job.page_starts[page] : job.lines.size();
    Lines lines;
    for (std::size_t i = start; i < end; ++i) lines.push_back(job.lines[i].text);
    return lines;
  }
};

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
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
  const std::string page = PreviewFile();
  for (const char* markup : {"<script", "<i>", "<img", "<iframe", "\" onclick", "</p>"}) {
    EXPECT_EQ(page.find(markup), std::string::npos) << markup;
  }
  EXPECT_NE(page.find("&lt;/p&gt;&lt;script&gt;alert(3)&lt;/script&gt; &amp; more"),
            std::string::npos);
  EXPECT_NE(page.find("<b><a href=\"x&quot; onclick=&quot;alert(2)\">"), std::string::npos);
}

TEST_F(PrintPreviewTest, OnlyWebAddressesOfHarmlessSchemesBecomeLinksOnAPageThatNamesItsCharset) {
  const std::pair<const char*, bool> cases[] = {
      {"http://example.org/", true},      {"HTTPS://example.org", true},
      {"ftp://files.example.org", true},  {"mailto:info@example.org", true},
      {"www.example.org/a:b", true},      {"javascript:alert(1)", false},
      {"JavaScript:alert(1)", false},     {"java\tscript:alert(1)", false},
      {"\x01javascript:alert(1)", false}, {"data:text/html,<b>", false},
      {"file:///etc/passwd", false},      {"vbscript:msgbox", false},
  };
  for (const auto& [web, link] : cases) {
    SCOPED_TRACE(web);
    auto r = Contact("2", "Caf\xE9 Acme", "", "01-01-2000 1");
    r.Web = web;
    ListRecords({r});
    dialogs.answers = {MessageAnswer::kYes};
    preview.mu_PrintComplete_HTML_Click(list);
    const std::string page = PreviewFile();
    EXPECT_EQ(page.find("<a href=\"") != std::string::npos, link);
    EXPECT_NE(page.find(link ? ">Caf\xE9 Acme</b></a><br>\r" : "\nCaf\xE9 Acme<br>\r"),
              std::string::npos);
    EXPECT_NE(page.find("<HEAD>\r<META http-equiv=\"Content-Type\" content=\"text/html; "
                        "charset=windows-1252\">\r"),
              std::string::npos);
    preview.CancelPrint_Click();
  }
}

// ---- Print

TEST_F(PrintPreviewTest, ListsBreakIntoPagesAtThePrintLines) {
  // Blocks of two lines and an empty one, as the complete phone list has:
  // line 57 is the first empty line among a page's last five. With blocks
  // of four, line 56 is blank and ends the page.
  std::string blocks, fours;
  for (int i = 1; i <= 40; ++i) blocks += "name\r\nnumbers\r\n\r\n";
  for (int i = 1; i <= 30; ++i) fours += "a\r\nb\r\nc\r\n  \r\n";
  const struct {
    int print_lines;
    std::string text;
    std::vector<std::size_t> pages;  // every page after the first starts with 3 empty lines
  } cases[] = {
      {0, NumberedLines(150) + "\r\n", {151}},
      {-1, NumberedLines(150), {150}},
      {60, NumberedLines(130), {61, 3 + 61, 3 + 8}},
      {60, NumberedLines(61), {61, 3}},
      {60, fours, {56, 3 + 56, 3 + 8}},
      {60, blocks, {57, 3 + 57, 3 + 6}},
  };
  for (const auto& c : cases) {
    state.settings.PrintLines = c.print_lines;
    PreviewAsIs(c.text);
    preview.SendPrint_Click();
    EXPECT_EQ(PageSizes(), c.pages) << c.print_lines << " / " << c.text.size();
    // Every page in Arial bold 10, each page setting it afresh.
    for (const auto& job : printer.jobs) {
      for (const auto& line : job.lines)
        ASSERT_TRUE(line.font == "Arial" && line.bold && line.points == 10);
    }
  }
  EXPECT_EQ(PageLines(1)[3], "\tname");
  EXPECT_FALSE(view.busy);

  printer.jobs.clear();
  printer.fail_with = Status::Error(57, "The printer is off line");
  preview.SendPrint_Click();
  EXPECT_EQ(dialogs.messages.at(0).text,
            "Error 57: The printer is off line\r\nThe list was not printed completely.");
  EXPECT_EQ(printer.jobs.size(), 1u);
}

TEST_F(PrintPreviewTest, LabelsPrintFromTheFileFiftyNineThenSixtyLinesAPageInCourier) {
  std::vector<ContactRecord> records;
  for (int i = 0; i < 40; ++i) {
    records.push_back(
        Contact("1", "Last" + std::to_string(i), "First", "01-01-2000 " + std::to_string(i)));
  }
  ListRecords(records);
  preview.mu_printMailingAddresses_Click(list);
  ASSERT_EQ(PreviewFile().size(), 20u * (5 * 94 + 3));  // 120 lines
  EXPECT_TRUE(view.fixed_pitch);
  EXPECT_EQ(view.progress_shown, 1);
  EXPECT_EQ(view.progress_range, std::pair(1, 40));
  EXPECT_EQ(view.progress_values.size(), 20u) << "labels go in pairs";
  EXPECT_EQ(view.progress_values.back(), 40);
  view.preview_text = "\r\nedits do not reach label printing";
  preview.SendPrint_Click();
  ASSERT_EQ(PageSizes(), (std::vector<std::size_t>{4 + 59, 3 + 60, 3 + 1}));
  const Lines first = PageLines(0);
  EXPECT_EQ(Lines(first.begin(), first.begin() + 4), Lines(4, ""));
  // Label text from the fifth printed line on, without a tab.
  EXPECT_EQ(first[4].substr(0, 18), "  First Last0     ");
  for (const auto& job : printer.jobs) {
    for (const auto& line : job.lines) {
      ASSERT_EQ(line.font, "courier new");
      ASSERT_TRUE(line.bold);
    }
  }

  // Exactly 59 lines end with a page of its three empty lines.
  std::string text;
  for (int i = 1; i <= 59; ++i) text += "label line\r\n";
  dir.Write("tr_view.tmp", text);
  printer.jobs.clear();
  preview.SendPrint_Click();
  EXPECT_EQ(PageSizes(), (std::vector<std::size_t>{63, 3}));
  printer.fail_with = Status::Error(57, "Out of paper");
  preview.SendPrint_Click();
  EXPECT_EQ(dialogs.messages.at(0).text,
            "Error 57: Out of paper\r\nThe labels were not printed completely.");
  preview.CancelPrint_Click();
  EXPECT_FALSE(view.fixed_pitch || preview.label_mode());
}

TEST_F(PrintPreviewTest, EnvelopesStartAfterTheTopMarginIndentedByTheLeftMargin) {
  state.editor_record = Contact("2", "Acme Ltd", "", "01-01-2000 1");
  state.editor_record.Add1 = "1 High St";
  state.editor_record.Country = "France  ";
  preview.Envelope_Click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Do you have an envelope ready in the printer?");
  EXPECT_TRUE(printer.jobs[0].envelope);
  // Default margins: 24 empty lines and eight tabs. An organisation without
  // a contact person has one blank as its name line.
  Lines expected(24, "");
  for (const char* line : {" ", "Acme Ltd", "1 High St", ",  ", "France"}) {
    expected.push_back(std::string(8, '\t') + line);
  }
  EXPECT_EQ(JobLines(0), expected);

  state.settings.LPad = "0 ";
  state.settings.TPad = "  ";
  state.editor_record = Contact("1", "Baker", "Ann", "01-01-2000 2");
  state.editor_record.City = "Salem";
  state.editor_record.State = "OR";
  state.editor_record.Zip = "97301";
  preview.Envelope_Click();
  EXPECT_EQ(JobLines(1), (Lines{"Ann Baker", "Salem, OR 97301"}));
  state.settings.LPad = "1 ";
  state.settings.TPad = "1 ";
  preview.Envelope_Click();
  EXPECT_EQ(JobLines(2), (Lines{"", "", "\tAnn Baker", "\tSalem, OR 97301"}));
}

// ---- File, .DOC and .HTML

TEST_F(PrintPreviewTest, FileMovesThePreviewFileButNeverOverwrites) {
  PreviewAsIs("\r\n\r\nlist\r\n");
  dir.Write("taken.txt", "keep me");
  dialogs.input_answers.push_back(dir.File("taken.txt"));
  preview.SendFile_Click();
  EXPECT_EQ(dialogs.messages.at(0).text, "File already exists (" + dir.File("taken.txt") + "): 58");
  EXPECT_EQ(dir.Read("taken.txt"), "keep me");

  // A bare name lands in the program folder, whatever the current folder is.
  dialogs.input_answers.push_back("saved.txt");
  preview.SendFile_Click();
  EXPECT_EQ(dir.Read("saved.txt"), "\r\n\r\nlist\r\n");
  EXPECT_FALSE(dir.Exists("tr_view.tmp"));
  EXPECT_EQ(dialogs.inputs[0].prompt, "You must supply a complete path and file name.");

  // Nothing is left to hand on or print.
  preview.PrintToFile_Click();
  EXPECT_TRUE(shell.started.empty() && shell.opened.empty());
  EXPECT_NE(dialogs.messages.back().text.find("File has moved it"), std::string::npos);
}

TEST_F(PrintPreviewTest, AHandOffThatFailsSaysWhyAndThePreviewStays) {
  state.settings.Browser = Fit("no-such-browser", 80);
  Preview("\r\n\r\nlist\r\n");
  shell.fail_start = Status::Error(53, "File not found (no-such-browser)");
  preview.PrintToHTML_Click();
  shell.fail_open = Status::Error(75, "No application for .doc files");
  preview.PrintToFile_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text,
            "The web browser could not be started:\r\nno-such-browser\r\nFile not found "
            "(no-such-browser)\r\nCheck its program in Settings. The list is in " +
                dir.File("tr_list.htm") + ".");
  EXPECT_EQ(dialogs.messages[1].text, "No program could open " + dir.File("tr_list.doc") +
                                          ":\r\nNo application for .doc files\r\nName a word "
                                          "processor program in Settings.");
  EXPECT_TRUE(view.print_options_visible);
}

// ---- Reports that cannot be made

TEST_F(PrintPreviewTest, APersistingFailureEndsTheReportAfterOneRetryForThePhoneLists) {
  ListRecords({Contact("1", "Adams", "Ann", "01-01-2000 1")});
  // Runs as root, so a folder in the way is what makes the write fail.
  std::filesystem::create_directory(dir.File("tr_view.tmp"));
  const std::function<void()> reports[] = {
      [this] { preview.mu_SimplePhoneList_Click(list); },
      [this] { preview.mu_PrintPhoneList_Click(list); },
      [this] { preview.mu_printMailingAddresses_Click(list); },
      [this] { preview.mu_printEmail_Click(list); },
      [this] { preview.mu_PrintCompleteRecords_Click(list); },
      [this] { preview.mu_PrintComplete_HTML_Click(list); },  // asks first
  };
  const std::size_t messages[] = {2, 2, 1, 1, 1, 2};
  for (std::size_t i = 0; i < std::size(reports); ++i) {
    dialogs.messages.clear();
    reports[i]();
    ASSERT_EQ(dialogs.messages.size(), messages[i]) << i;
    EXPECT_EQ(dialogs.messages.back().title, "Error!");
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::kCritical);
    EXPECT_TRUE(dialogs.messages.back().text.ends_with("\r\nThe list could not be made."));
    EXPECT_NE(dialogs.messages.back().text.find("tr_view.tmp"), std::string::npos);
    EXPECT_TRUE(menus.enabled && view.toolbar_visible);
    EXPECT_FALSE(view.print_options_visible || view.preview_visible || view.progress_visible);
    EXPECT_FALSE(view.busy || preview.label_mode());
  }
}

}  // namespace
}  // namespace tabrel
