#pragma once

#include <cstddef>

// Byte layouts of the stored files. docs/file_formats.md describes them in prose.
namespace tabrel::layout {

struct Span {
  std::size_t offset;
  std::size_t width;
};

// tabrel.dat: fixed records of 23 blank-padded Windows-1252 text fields, no
// header, no separators. Record n (from 1) starts at (n - 1) * 1047.
inline constexpr std::size_t kContactRecordLength = 1047;
inline constexpr Span kRecType{0, 1};
inline constexpr Span kLastName{1, 20};
inline constexpr Span kFirstName{21, 20};
inline constexpr Span kTitle{41, 40};
inline constexpr Span kOrg{81, 40};
inline constexpr Span kPhone{121, 20};
inline constexpr Span kExt{141, 10};
inline constexpr Span kFax{151, 20};
inline constexpr Span kCellular{171, 20};
inline constexpr Span kBeeper{191, 20};
inline constexpr Span kEMail{211, 45};
inline constexpr Span kWeb{256, 60};
inline constexpr Span kAdd1{316, 40};
inline constexpr Span kAdd2{356, 40};
inline constexpr Span kCity{396, 20};
inline constexpr Span kState{416, 20};
inline constexpr Span kZip{436, 10};
inline constexpr Span kCountry{446, 40};
inline constexpr Span kKW1{486, 14};
inline constexpr Span kKW2{500, 14};
inline constexpr Span kKW3{514, 14};
inline constexpr Span kNotes{528, 500};
inline constexpr Span kModified{1028, 19};  // 1028 + 19 = 1047

// keyword.dat: one 14-byte blank-padded text per record.
inline constexpr std::size_t kKeywordRecordLength = 14;

// tr30.ini: one record of 821 bytes. The two integers are 16-bit signed
// little-endian; every other field is blank-padded text, but for the 8-byte
// reserved value at 255, which is written as zero bytes.
inline constexpr std::size_t kSettingsRecordLength = 821;
inline constexpr Span kReserved1{0, 40};
inline constexpr Span kPreviewLines{40, 2};
inline constexpr Span kPath1{42, 100};
inline constexpr Span kPath2{142, 100};
inline constexpr Span kReserved2{242, 1};
inline constexpr Span kReserved3{243, 10};
inline constexpr Span kPrintLines{253, 2};
inline constexpr Span kReserved4{255, 8};
inline constexpr Span kReserved5{263, 40};
inline constexpr Span kCommPort{303, 1};
inline constexpr Span kAreaCode{304, 10};
inline constexpr Span kLongDistanceCode{314, 20};
inline constexpr Span kPbxCode{334, 10};
inline constexpr Span kFullName{344, 1};
inline constexpr Span kFullSurface{345, 1};
inline constexpr Span kFullPhones{346, 1};
inline constexpr Span kFullEmail{347, 1};
inline constexpr Span kFullWeb{348, 1};
inline constexpr Span kFullNotes{349, 1};
inline constexpr Span kFullSpare{350, 1};
inline constexpr Span kLPad{351, 2};
inline constexpr Span kTPad{353, 2};
inline constexpr Span kQuickUpPath{355, 100};
inline constexpr Span kQuickUpTarget{455, 100};
inline constexpr Span kEditor{555, 80};
inline constexpr Span kMailer{635, 80};
inline constexpr Span kBrowser{715, 80};
inline constexpr Span kMailFormat{795, 1};
inline constexpr Span kReserved6{796, 25};  // 796 + 25 = 821

// contact.dat, contact.mer and contact.bak of the DOS generation, and the
// DOS exchange file: fixed records of 21 blank-padded single-byte text
// fields, no header, no separators. Record n (from 1) starts at (n - 1) * 533.
// The DOS record has no title, mobile or pager number, and its notes are two
// lines of 70 characters.
inline constexpr std::size_t kDosRecordLength = 533;
inline constexpr Span kDosRecType{0, 1};
inline constexpr Span kDosLastName{1, 20};
inline constexpr Span kDosFirstName{21, 20};
inline constexpr Span kDosOrg{41, 40};
inline constexpr Span kDosPhone{81, 14};
inline constexpr Span kDosExt{95, 4};
inline constexpr Span kDosFax{99, 14};
inline constexpr Span kDosEMail{113, 45};
inline constexpr Span kDosWeb{158, 60};
inline constexpr Span kDosAdd1{218, 40};
inline constexpr Span kDosAdd2{258, 40};
inline constexpr Span kDosCity{298, 20};
inline constexpr Span kDosState{318, 2};
inline constexpr Span kDosZip{320, 10};
inline constexpr Span kDosCountry{330, 2};
inline constexpr Span kDosKW1{332, 14};
inline constexpr Span kDosKW2{346, 14};
inline constexpr Span kDosKW3{360, 14};
inline constexpr Span kDosNotes1{374, 70};
inline constexpr Span kDosNotes2{444, 70};
inline constexpr Span kDosModified{514, 19};  // 514 + 19 = 533

// The record number is a 16-bit signed integer in every installation.
inline constexpr std::size_t kMaxRecords = 32767;

}  // namespace tabrel::layout
