#pragma once

#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel::testing {

// A record of `type` with every field blank but the name and the stamp:
// individuals ("1", "3") take `name` as LastName and `first` as FirstName,
// organisations ("2", "4") take `name` as Org.
inline ContactRecord Contact(const std::string& type, const std::string& name,
                             const std::string& first, const std::string& stamp) {
  ContactRecord record = BlankContactRecord();
  record.RecType = type;
  if (type == "2" || type == "4") {
    record.Org = name;
  } else {
    record.LastName = name;
    record.FirstName = first;
  }
  record.Modified = stamp;
  return record;
}

// The bytes of a tabrel.dat holding `records` in order.
inline std::string ContactBytes(const std::vector<ContactRecord>& records) {
  std::string bytes;
  for (const auto& record : records) bytes += EncodeContact(record);
  return bytes;
}

inline void WriteContacts(const TempDir& dir, const std::vector<ContactRecord>& records,
                          const std::string& name = "tabrel.dat") {
  dir.Write(name, ContactBytes(records));
}

// A keyword as stored: cut or blank-padded to 14 bytes.
inline std::string Keyword(const std::string& text) {
  std::string entry = text.substr(0, layout::kKeywordRecordLength);
  entry.resize(layout::kKeywordRecordLength, ' ');
  return entry;
}

inline void WriteKeywords(const TempDir& dir, const std::vector<std::string>& keywords) {
  std::string bytes;
  for (const auto& keyword : keywords) bytes += Keyword(keyword);
  dir.Write("keyword.dat", bytes);
}

}  // namespace tabrel::testing
