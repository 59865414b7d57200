#include "store/settings_record.h"

#include <cstring>

#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

struct TextField {
  std::string SettingsRecord::*member;
  l::Span span;
};

const TextField kTextFields[] = {
    {&SettingsRecord::Reserved1, l::kReserved1},
    {&SettingsRecord::Path1, l::kPath1},
    {&SettingsRecord::Path2, l::kPath2},
    {&SettingsRecord::Reserved2, l::kReserved2},
    {&SettingsRecord::Reserved3, l::kReserved3},
    {&SettingsRecord::Reserved5, l::kReserved5},
    {&SettingsRecord::CommPort, l::kCommPort},
    {&SettingsRecord::AreaCode, l::kAreaCode},
    {&SettingsRecord::LongDistanceCode, l::kLongDistanceCode},
    {&SettingsRecord::PbxCode, l::kPbxCode},
    {&SettingsRecord::FullName, l::kFullName},
    {&SettingsRecord::FullSurface, l::kFullSurface},
    {&SettingsRecord::FullPhones, l::kFullPhones},
    {&SettingsRecord::FullEmail, l::kFullEmail},
    {&SettingsRecord::FullWeb, l::kFullWeb},
    {&SettingsRecord::FullNotes, l::kFullNotes},
    {&SettingsRecord::FullSpare, l::kFullSpare},
    {&SettingsRecord::LPad, l::kLPad},
    {&SettingsRecord::TPad, l::kTPad},
    {&SettingsRecord::QuickUpPath, l::kQuickUpPath},
    {&SettingsRecord::QuickUpTarget, l::kQuickUpTarget},
    {&SettingsRecord::Editor, l::kEditor},
    {&SettingsRecord::Mailer, l::kMailer},
    {&SettingsRecord::Browser, l::kBrowser},
    {&SettingsRecord::MailFormat, l::kMailFormat},
    {&SettingsRecord::Reserved6, l::kReserved6},
};

void PutInt16(std::string& out, std::size_t offset, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  out[offset] = static_cast<char>(bits & 0xFF);
  out[offset + 1] = static_cast<char>(bits >> 8);
}

std::int16_t GetInt16(std::string_view in, std::size_t offset) {
  const auto lo = static_cast<unsigned char>(in[offset]);
  const auto hi = static_cast<unsigned char>(in[offset + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

}  // namespace

SettingsRecord DefaultSettings() {
  SettingsRecord s;
  for (const auto& field : kTextFields) s.*field.member = std::string(field.span.width, ' ');
  s.PreviewLines = 250;
  s.PrintLines = 60;
  s.CommPort = "1";
  for (auto* flag : {&s.FullName, &s.FullSurface, &s.FullPhones, &s.FullEmail, &s.FullWeb,
                     &s.FullNotes, &s.FullSpare}) {
    *flag = "1";
  }
  s.LPad = "8 ";
  s.TPad = "12";
  s.MailFormat = "0";
  return s;
}

std::string EncodeSettings(const SettingsRecord& settings) {
  std::string out(l::kSettingsRecordLength, ' ');
  for (const auto& field : kTextFields) {
    const std::string& text = settings.*field.member;
    std::memcpy(out.data() + field.span.offset, text.data(),
                std::min(text.size(), field.span.width));
  }
  PutInt16(out, l::kPreviewLines.offset, settings.PreviewLines);
  PutInt16(out, l::kPrintLines.offset, settings.PrintLines);
  std::memcpy(out.data() + l::kReserved4.offset, settings.Reserved4.data(), l::kReserved4.width);
  return out;
}

SettingsRecord DecodeSettings(std::string_view bytes) {
  std::string full = EncodeSettings(DefaultSettings());
  const std::size_t have = std::min(bytes.size(), l::kSettingsRecordLength);
  full.replace(0, have, bytes.substr(0, have));

  SettingsRecord s;
  for (const auto& field : kTextFields) {
    s.*field.member = full.substr(field.span.offset, field.span.width);
  }
  s.PreviewLines = GetInt16(full, l::kPreviewLines.offset);
  s.PrintLines = GetInt16(full, l::kPrintLines.offset);
  std::memcpy(s.Reserved4.data(), full.data() + l::kReserved4.offset, l::kReserved4.width);
  return s;
}

}  // namespace tabrel
