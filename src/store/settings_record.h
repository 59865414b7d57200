#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabrel {

// The one record of tr30.ini. Text fields hold Windows-1252 bytes at their
// stored width after a read; encoding cuts or pads them.
struct SettingsRecord {
  std::string Reserved1;
  std::int16_t PreviewLines = 0;  // most lines the built-in preview shows
  std::string Path1;              // alternate data path #1
  std::string Path2;              // alternate data path #2
  std::string Reserved2;
  std::string Reserved3;
  std::int16_t PrintLines = 0;  // printed lines per page
  std::array<unsigned char, 8> Reserved4{};
  std::string Reserved5;
  std::string CommPort;          // modem port "1".."4"
  std::string AreaCode;          // own telephone area code
  std::string LongDistanceCode;  // long-distance or calling-card prefix
  std::string PbxCode;           // code for an outside line
  std::string FullName;          // full-record flags: "1" on, anything else off
  std::string FullSurface;
  std::string FullPhones;
  std::string FullEmail;
  std::string FullWeb;
  std::string FullNotes;
  std::string FullSpare;  // written, never read
  std::string LPad;       // envelope left margin in tabs
  std::string TPad;       // envelope upper margin spacing
  std::string QuickUpPath;
  std::string QuickUpTarget;
  std::string Editor;      // word processor program
  std::string Mailer;      // e-mail program
  std::string Browser;     // web browser program
  std::string MailFormat;  // "1": names in e-mail addresses
  std::string Reserved6;

  bool operator==(const SettingsRecord&) const = default;
};

// The record a new tr30.ini starts with.
SettingsRecord DefaultSettings();

std::string EncodeSettings(const SettingsRecord& settings);
// Reads what `bytes` holds; a short record takes the defaults for the bytes it
// lacks, and bytes beyond the record length are ignored.
SettingsRecord DecodeSettings(std::string_view bytes);

}  // namespace tabrel
