// Addresses built from record fields for the desktop and for other programs.
#include "contact/contact_urls.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

ContactRecord Person(const std::string& first, const std::string& last, const std::string& email) {
  ContactRecord record = BlankContactRecord();
  record.FirstName = first;
  record.LastName = last;
  record.EMail = email;
  return record;
}

TEST(ContactUrlsTest, MailAddressWithAndWithoutNames) {
  struct Case {
    ContactRecord record;
    bool names;
    const char* address;
  } cases[] = {
      {Person("Ann", "Baker", "  ann@example.org  "), false, "ann@example.org"},
      {Person("Ann", "Baker", "ann@example.org"), true, "Ann Baker <ann@example.org>"},
      // No names: the address in brackets, without the two leading blanks.
      {Person("", "", "info@widget.example"), true, "<info@widget.example>"},
      {Person("", "Baker", "ann@example.org"), true, "Baker <ann@example.org>"},
      // Stored Windows-1252 comes out as UTF-8.
      {Person("J\xF6rg", "M\xFCller", "jm@example.de"), true,
       "J\xC3\xB6rg M\xC3\xBCller <jm@example.de>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(MailAddress(c.record, c.names), c.address);
  }
}

TEST(ContactUrlsTest, TheMailAddressIsTheWholePathOfTheMailtoUrl) {
  const std::pair<const char*, const char*> cases[] = {
      {"ann@example.org", "mailto:ann@example.org"},
      {"ann+news@example.org", "mailto:ann+news@example.org"},
      {"Ann Baker <ann@example.org>", "mailto:Ann%20Baker%20%3Cann@example.org%3E"},
      // A query or fragment typed into the field stays part of the address.
      {"ann@example.org?attach=/etc/passwd", "mailto:ann@example.org%3Fattach%3D%2Fetc%2Fpasswd"},
      {"ann@example.org&cc=x@y#z", "mailto:ann@example.org%26cc%3Dx@y%23z"},
      {"J\xC3\xB6rg <j@example.de>", "mailto:J%C3%B6rg%20%3Cj@example.de%3E"},
  };
  for (const auto& [address, url] : cases) {
    SCOPED_TRACE(address);
    EXPECT_EQ(MailtoUrl(address), url);
  }
}

TEST(ContactUrlsTest, TheDesktopGetsOnlyHttpAndHttpsAddresses) {
  const std::pair<const char*, const char*> accepted[] = {
      {"https://www.example.org/a?b=c", "https://www.example.org/a?b=c"},
      {"HTTP://EXAMPLE.ORG", "HTTP://EXAMPLE.ORG"},
      {"www.example.org", "http://www.example.org"},
      {" www.example.org/path ", "http://www.example.org/path"},
      {"example.org:8080/x", "http://example.org:8080/x"},
      {"localhost:3000", "http://localhost:3000"},
      {"www.example.org/a:b", "http://www.example.org/a:b"},
      {"//example.org/x", "http://example.org/x"},
      {"www.example.org/my page", "http://www.example.org/my%20page"},
      {"www.example.org/\"<x>\"", "http://www.example.org/%22%3Cx%3E%22"},
      {"www.m\xC3\xBCller.de", "http://www.m%C3%BCller.de"},
  };
  for (const auto& [typed, url] : accepted) {
    SCOPED_TRACE(typed);
    const DesktopUrl got = WebUrl(typed);
    EXPECT_EQ(got.refusal, "");
    EXPECT_EQ(got.url, url);
  }
  for (const char* typed : {"file:///etc/passwd", "javascript:alert(1)", "mailto:ann@example.org",
                            "x-unknown:foo", "ftp://example.org/", "tel:5551234"}) {
    SCOPED_TRACE(typed);
    const DesktopUrl got = WebUrl(typed);
    EXPECT_EQ(got.url, "");
    EXPECT_NE(got.refusal.find("only web addresses (http or https)"), std::string::npos)
        << got.refusal;
  }
}

TEST(ContactUrlsTest, TelUrlKeepsPlusDigitsAndSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"+1 (555) 123-4567", "tel:+1(555)123-4567"},
      {"555.123.4567", "tel:555.123.4567"},
      {"555-1234 ext 12", "tel:555-123412"},
      {"n/a", ""},
      {"", ""},
      {"+-()", ""},
  };
  for (const auto& [number, url] : cases) {
    SCOPED_TRACE(number);
    EXPECT_EQ(TelUrl(number), url);
  }
}

TEST(ContactUrlsTest, AFieldStartingWithAHyphenLooksLikeAnOption) {
  EXPECT_TRUE(LooksLikeOption("-x"));
  EXPECT_TRUE(LooksLikeOption("  --new-window"));
  EXPECT_FALSE(LooksLikeOption("ann-baker@example.org"));
  EXPECT_FALSE(LooksLikeOption(""));
}

}  // namespace
}  // namespace tabrel
