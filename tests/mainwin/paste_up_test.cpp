// The address and full-record blocks that the view panel copies and prints.
#include "mainwin/paste_up.h"

#include <gtest/gtest.h>

#include "store/text.h"

namespace tabrel {
namespace {

ContactRecord Person() {
  ContactRecord r = DecodeContact(EncodeContact(BlankContactRecord()));
  r.RecType = "1";
  r.FirstName = Fit("Ann", 20);
  r.LastName = Fit("Adams", 20);
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

SettingsRecord Flags(const std::string& name, const std::string& surface, const std::string& phones,
                     const std::string& email, const std::string& web, const std::string& notes) {
  SettingsRecord s = DefaultSettings();
  s.FullName = name;
  s.FullSurface = surface;
  s.FullPhones = phones;
  s.FullEmail = email;
  s.FullWeb = web;
  s.FullNotes = notes;
  return s;
}

TEST(PasteUpAddressTest, KeepsTitleAndCountryAtFullWidthAndTrimsTheRest) {
  EXPECT_EQ(PasteUpAddress(Person()), "Ann Adams, " + Fit("Director", 40) +
                                          "\r\nAcme\r\n1 Main St\r\nSalem, OR 97301\r\n" +
                                          Fit("USA", 40) + "\r\n");
}

TEST(PasteUpAddressTest, OrganisationWithoutNamesStartsWithABlankLine) {
  ContactRecord r = BlankContactRecord();
  r.RecType = "2";
  r.Org = Fit("Acme", 40);
  EXPECT_EQ(PasteUpAddress(r), " \r\nAcme\r\n");
}

TEST(PasteUpFullTest, EveryFlagOnGivesEveryBlock) {
  const std::string text = PasteUpFull(Person(), DefaultSettings());
  EXPECT_EQ(text, PasteUpAddress(Person()) + "\r\n" + "Phone: 555-0100 (x12) Fax: " +
                      std::string(20, ' ') + "\r\n" + "E-Mail: ann@example.org\r\n" +
                      "Web:  example.org\r\n" + "\r\nMet at the fair.\r\n");
}

TEST(PasteUpFullTest, NameOffStillKeepsTheOrganisation) {
  const std::string text = PasteUpFull(Person(), Flags("0", "0", "0", "0", "0", "0"));
  EXPECT_EQ(text, "Acme\r\n\r\n");
}

TEST(PasteUpFullTest, BlankOrNonDigitNameFlagCountsAsOff) {
  for (const std::string flag : {" ", "x", "2"}) {
    EXPECT_EQ(PasteUpFull(Person(), Flags(flag, flag, "0", "0", "0", "0")), "Acme\r\n\r\n");
  }
}

TEST(PasteUpFullTest, PhoneAndPagerPairsShareTheirLines) {
  ContactRecord r = Person();
  r.Ext = Fit("", 10);
  r.Phone = Fit("", 20);
  r.Fax = Fit("555-0199", 20);
  r.Beeper = Fit("555-0177", 20);
  const std::string text = PasteUpFull(r, Flags("0", "0", "1", "0", "0", "0"));
  EXPECT_EQ(text, "Acme\r\n\r\nPhone:  Fax: " + Fit("555-0199", 20) +
                      "\r\nCellular:  Page: " + Fit("555-0177", 20) + "\r\n");
}

TEST(PasteUpFullTest, LongNotesAreWrapped) {
  ContactRecord r = Person();
  r.Notes = Fit(std::string(60, 'n') + " and more", 500);
  const std::string text = PasteUpFull(r, Flags("0", "0", "0", "0", "0", "1"));
  EXPECT_EQ(text, "Acme\r\n\r\n\r\n" + std::string(60, 'n') + " \r\nand more\r\n");
}

}  // namespace
}  // namespace tabrel
