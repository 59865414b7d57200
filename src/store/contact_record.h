#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/layout.h"

namespace tabrel {

// One record of tabrel.dat. Each field holds Windows-1252 bytes; after a read
// it holds the stored text at full width, trailing blanks included. Writers
// may leave a field shorter or longer: encoding cuts or pads it to its width.
struct ContactRecord {
  std::string RecType;
  std::string LastName;
  std::string FirstName;
  std::string Title;
  std::string Org;
  std::string Phone;
  std::string Ext;
  std::string Fax;
  std::string Cellular;
  std::string Beeper;
  std::string EMail;
  std::string Web;
  std::string Add1;
  std::string Add2;
  std::string City;
  std::string State;
  std::string Zip;
  std::string Country;
  std::string KW1;
  std::string KW2;
  std::string KW3;
  std::string Notes;
  std::string Modified;

  bool operator==(const ContactRecord&) const = default;
};

struct ContactField {
  std::string ContactRecord::*member;
  layout::Span span;
  const char* name;
};

// The 23 fields in file order.
extern const std::array<ContactField, 23> kContactFields;

// The stamp of a record that has never been saved.
inline constexpr std::string_view kUnsavedStamp = "...................";

// Every field set to blanks of its full width.
ContactRecord BlankContactRecord();

// `bytes` must hold at least one whole record; only its first 1047 bytes count.
ContactRecord DecodeContact(std::string_view bytes);
std::string EncodeContact(const ContactRecord& record);
// Writes the encoded record into out[0..1047).
void EncodeContactInto(const ContactRecord& record, char* out);

// Record types: "1" public individual, "2" public organisation,
// "3" personal individual, "4" personal organisation.
bool IsIndividual(std::string_view rec_type);
bool IsOrganisation(std::string_view rec_type);

}  // namespace tabrel
