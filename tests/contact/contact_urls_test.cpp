// Addresses built from record fields for the desktop and for other programs,
// from the cases in testdata/contact/contact_urls.cases.
#include "contact/contact_urls.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"

namespace tabrel {
namespace {

using ContactUrlsTest = testing::FileCaseTest;

TEST_P(ContactUrlsTest, BuildsTheAddressOrRefusesIt) {
  const testing::FileCase& c = GetParam();
  if (c.Has("mail")) {
    ContactRecord record = BlankContactRecord();
    record.FirstName = c.Get("first");
    record.LastName = c.Get("last");
    record.EMail = c.Get("mail");
    EXPECT_EQ(MailAddress(record, c.Get("names") == "1"), c.Get("address"));
  } else if (c.Has("mailto")) {
    EXPECT_EQ(MailtoUrl(c.Get("mailto")), c.Get("url"));
  } else if (c.Has("web")) {
    const DesktopUrl got = WebUrl(c.Get("web"));
    EXPECT_EQ(got.url, c.Get("url", ""));
    if (c.Has("refused")) {
      EXPECT_NE(got.refusal.find("only web addresses (http or https)"), std::string::npos);
    } else {
      EXPECT_EQ(got.refusal, "");
    }
  } else if (c.Has("tel")) {
    EXPECT_EQ(TelUrl(c.Get("tel")), c.Get("url"));
  } else {
    EXPECT_EQ(LooksLikeOption(c.Get("option")), c.Get("looks") == "1");
  }
}

TABREL_FILE_CASES(Fields, ContactUrlsTest, "contact", "contact_urls.cases");

}  // namespace
}  // namespace tabrel
