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

class PrintPreviewTest : public ::testing::Test, public testing::PrintPreviewHarness {
 protected:
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

// ---- File, .DOC and .HTML

// ---- Reports that cannot be made

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

}  // namespace
}  // namespace tabrel
