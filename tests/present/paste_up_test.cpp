// The address and full-record blocks that the view panel copies and prints.
#include "present/paste_up.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"

namespace tabrel {
namespace {

ContactRecord Person() {
  ContactRecord r = testing::Contact("1", "Adams", "Ann", "");
  r.Title = Fit("Director", 40);
  r.Org = Fit("Acme", 40);
  r.Add1 = Fit("1 Main St", 40);
  r.City = Fit("Salem", 20);
  r.State = Fit("OR", 20);
  r.Zip = Fit("97301", 10);
  r.Country = Fit("USA", 40);
  r.Phone = Fit("555-0100", 20);
  r.Ext = Fit("12", 10);
  r.EMail = Fit("ann@example.org", 45);
  r.Web = Fit("example.org", 60);
  r.Notes = Fit("Met at the fair.", 500);
  return r;
}

// The full-record flags name, surface, phones, e-mail, web and notes.
SettingsRecord Flags(const std::string& six) {
  SettingsRecord s = DefaultSettings();
  std::string* flags[] = {&s.FullName,  &s.FullSurface, &s.FullPhones,
                          &s.FullEmail, &s.FullWeb,     &s.FullNotes};
  for (std::size_t i = 0; i < 6; ++i) *flags[i] = six.substr(i, 1);
  return s;
}

TEST(PasteUpTest, AddressKeepsTitleAndCountryAtFullWidthAndTheFullRecordFollowsTheFlags) {
  const std::string address = "Ann Adams, " + Fit("Director", 40) +
                              "\r\nAcme\r\n1 Main St\r\nSalem, OR 97301\r\n" + Fit("USA", 40) +
                              "\r\n";
  EXPECT_EQ(PasteUpAddress(Person()), address);
  EXPECT_EQ(PasteUpFull(Person(), DefaultSettings()),
            address + "\r\nPhone: 555-0100 (x12) Fax: " + std::string(20, ' ') +
                "\r\nE-Mail: ann@example.org\r\nWeb:  example.org\r\n\r\nMet at the fair.\r\n");
  EXPECT_EQ(PasteUpAddress(testing::Contact("2", "Acme", "", "")), " \r\nAcme\r\n");
  // Only the blocks whose flag is "1" are shown, the organisation always.
  for (const char* flags : {"000000", "  0000", "xx0000", "220000"}) {
    EXPECT_EQ(PasteUpFull(Person(), Flags(flags)), "Acme\r\n\r\n") << flags;
  }
  ContactRecord r = Person();
  r.Phone = Fit("", 20);
  r.Fax = Fit("555-0199", 20);
  r.Beeper = Fit("555-0177", 20);
  r.Notes = Fit(std::string(60, 'n') + " and more", 500);
  EXPECT_EQ(PasteUpFull(r, Flags("001001")),
            "Acme\r\n\r\nPhone:  (x12) Fax: " + Fit("555-0199", 20) + "\r\nCellular:  Page: " +
                Fit("555-0177", 20) + "\r\n\r\n" + std::string(60, 'n') + " \r\nand more\r\n");
}

}  // namespace
}  // namespace tabrel
