#include "store/settings_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tabrel {
namespace {

// Offset, width and the member of every text field of tr30.ini.
struct TextField {
  const char* name;
  std::size_t offset;
  std::size_t width;
  std::string SettingsRecord::*member;
};

const TextField kFields[] = {
    {"Reserved1", 0, 40, &SettingsRecord::Reserved1},
    {"Path1", 42, 100, &SettingsRecord::Path1},
    {"Path2", 142, 100, &SettingsRecord::Path2},
    {"Reserved2", 242, 1, &SettingsRecord::Reserved2},
    {"Reserved3", 243, 10, &SettingsRecord::Reserved3},
    {"Reserved5", 263, 40, &SettingsRecord::Reserved5},
    {"CommPort", 303, 1, &SettingsRecord::CommPort},
    {"AreaCode", 304, 10, &SettingsRecord::AreaCode},
    {"LongDistanceCode", 314, 20, &SettingsRecord::LongDistanceCode},
    {"PbxCode", 334, 10, &SettingsRecord::PbxCode},
    {"FullName", 344, 1, &SettingsRecord::FullName},
    {"FullSurface", 345, 1, &SettingsRecord::FullSurface},
    {"FullPhones", 346, 1, &SettingsRecord::FullPhones},
    {"FullEmail", 347, 1, &SettingsRecord::FullEmail},
    {"FullWeb", 348, 1, &SettingsRecord::FullWeb},
    {"FullNotes", 349, 1, &SettingsRecord::FullNotes},
    {"FullSpare", 350, 1, &SettingsRecord::FullSpare},
    {"LPad", 351, 2, &SettingsRecord::LPad},
    {"TPad", 353, 2, &SettingsRecord::TPad},
    {"QuickUpPath", 355, 100, &SettingsRecord::QuickUpPath},
    {"QuickUpTarget", 455, 100, &SettingsRecord::QuickUpTarget},
    {"Editor", 555, 80, &SettingsRecord::Editor},
    {"Mailer", 635, 80, &SettingsRecord::Mailer},
    {"Browser", 715, 80, &SettingsRecord::Browser},
    {"MailFormat", 795, 1, &SettingsRecord::MailFormat},
    {"Reserved6", 796, 25, &SettingsRecord::Reserved6},
};

TEST(SettingsRecordLayoutTest, EveryFieldIsWrittenAtItsDocumentedOffset) {
  SettingsRecord settings;
  char letter = 'A';
  for (const auto& field : kFields) settings.*field.member = std::string(field.width, letter++);
  settings.PreviewLines = 0x1234;
  settings.PrintLines = -2;
  settings.Reserved4 = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::string bytes = EncodeSettings(settings);
  ASSERT_EQ(bytes.size(), 821u);
  letter = 'A';
  for (const auto& field : kFields) {
    EXPECT_EQ(bytes.substr(field.offset, field.width), std::string(field.width, letter++))
        << field.name;
  }
  EXPECT_EQ(bytes.substr(40, 2), "\x34\x12");  // little-endian
  EXPECT_EQ(bytes.substr(253, 2), "\xFE\xFF");
  EXPECT_EQ(bytes.substr(255, 8), "\x01\x02\x03\x04\x05\x06\x07\x08");
}

TEST(SettingsRecordLayoutTest, HandMadeBytesDecodeIntoTheRightFields) {
  std::string bytes(821, ' ');
  bytes.replace(40, 2, "\x00\x80", 2);  // -32768
  bytes.replace(42, 9, "/data/one");
  bytes.replace(253, 2, "\xFF\x7F");  // 32767
  bytes.replace(255, 8, std::string(8, '\0'));
  bytes.replace(303, 1, "4");
  bytes.replace(344, 7, "1020110");
  bytes.replace(351, 4, "5.10");
  bytes.replace(715, 11, "/usr/bin/ff");
  bytes.replace(795, 1, "1");
  const SettingsRecord s = DecodeSettings(bytes);
  EXPECT_EQ(s.PreviewLines, -32768);
  EXPECT_EQ(s.PrintLines, 32767);
  EXPECT_EQ(s.Path1, "/data/one" + std::string(91, ' '));
  EXPECT_EQ(s.CommPort, "4");
  EXPECT_EQ(s.FullName + s.FullSurface + s.FullPhones + s.FullEmail + s.FullWeb + s.FullNotes +
                s.FullSpare,
            "1020110");
  EXPECT_EQ(s.LPad, "5.");
  EXPECT_EQ(s.TPad, "10");
  EXPECT_EQ(s.Browser, "/usr/bin/ff" + std::string(69, ' '));
  EXPECT_EQ(s.MailFormat, "1");
  EXPECT_EQ(EncodeSettings(s), bytes);
}

}  // namespace
}  // namespace tabrel
