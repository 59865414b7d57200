#include "store/contact_record.h"

#include <cstring>

#include "base/text.h"

namespace tabrel {

namespace l = layout;

const std::array<ContactField, 23> kContactFields = {{
    {&ContactRecord::RecType, l::kRecType, "RecType"},
    {&ContactRecord::LastName, l::kLastName, "LastName"},
    {&ContactRecord::FirstName, l::kFirstName, "FirstName"},
    {&ContactRecord::Title, l::kTitle, "Title"},
    {&ContactRecord::Org, l::kOrg, "Org"},
    {&ContactRecord::Phone, l::kPhone, "Phone"},
    {&ContactRecord::Ext, l::kExt, "Ext"},
    {&ContactRecord::Fax, l::kFax, "Fax"},
    {&ContactRecord::Cellular, l::kCellular, "Cellular"},
    {&ContactRecord::Beeper, l::kBeeper, "Beeper"},
    {&ContactRecord::EMail, l::kEMail, "EMail"},
    {&ContactRecord::Web, l::kWeb, "Web"},
    {&ContactRecord::Add1, l::kAdd1, "Add1"},
    {&ContactRecord::Add2, l::kAdd2, "Add2"},
    {&ContactRecord::City, l::kCity, "City"},
    {&ContactRecord::State, l::kState, "State"},
    {&ContactRecord::Zip, l::kZip, "Zip"},
    {&ContactRecord::Country, l::kCountry, "Country"},
    {&ContactRecord::KW1, l::kKW1, "KW1"},
    {&ContactRecord::KW2, l::kKW2, "KW2"},
    {&ContactRecord::KW3, l::kKW3, "KW3"},
    {&ContactRecord::Notes, l::kNotes, "Notes"},
    {&ContactRecord::Modified, l::kModified, "Modified"},
}};

ContactRecord BlankContactRecord() {
  ContactRecord record;
  for (const auto& field : kContactFields)
    record.*field.member = std::string(field.span.width, ' ');
  return record;
}

ContactRecord DecodeContact(std::string_view bytes) {
  ContactRecord record;
  for (const auto& field : kContactFields) {
    record.*field.member = std::string(bytes.substr(field.span.offset, field.span.width));
  }
  return record;
}

void EncodeContactInto(const ContactRecord& record, char* out) {
  std::memset(out, ' ', l::kContactRecordLength);
  for (const auto& field : kContactFields) {
    const std::string& text = record.*field.member;
    std::memcpy(out + field.span.offset, text.data(), std::min(text.size(), field.span.width));
  }
}

std::string EncodeContact(const ContactRecord& record) {
  std::string out(l::kContactRecordLength, ' ');
  EncodeContactInto(record, out.data());
  return out;
}

bool IsIndividual(std::string_view rec_type) {
  return rec_type == "1" || rec_type == "3";
}
bool IsOrganisation(std::string_view rec_type) {
  return rec_type == "2" || rec_type == "4";
}

}  // namespace tabrel
