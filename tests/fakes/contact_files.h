#pragma once

#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/temp_dir.h"
#include "store/app_state.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel::testing {

// A program folder and a separate data folder, with the state pointing at both.
struct DataSetFolders {
  DataSetFolders() { state.data_path = data.path(); }
  TempDir program;
  TempDir data;
  AppState state{program.path()};
};

// A record of `type` with every field blank but the name and the stamp:
// individuals ("1", "3") take `name` as LastName and `first` as FirstName,
// organisations ("2", "4") take `name` as Org.
inline ContactRecord Contact(const std::string& type, const std::string& name,
                             const std::string& first, const std::string& stamp) {
  ContactRecord record = BlankContactRecord();
  record.RecType = type;
  (IsOrganisation(type) ? record.Org : record.LastName) = name;
  if (!IsOrganisation(type)) record.FirstName = first;
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

// The stamps of the whole records in `bytes`, trimmed: tests give each
// record a stamp that names it.
inline std::vector<std::string> Stamps(const std::string& bytes) {
  std::vector<std::string> stamps;
  for (std::size_t at = 0; at + layout::kContactRecordLength <= bytes.size();
       at += layout::kContactRecordLength) {
    stamps.push_back(Trim(DecodeContact(bytes.substr(at, layout::kContactRecordLength)).Modified));
  }
  return stamps;
}

// A keyword as stored: cut or blank-padded to 14 bytes.
inline std::string Keyword(const std::string& text) {
  return Fit(text, layout::kKeywordRecordLength);
}

inline void WriteKeywords(const TempDir& dir, const std::vector<std::string>& keywords) {
  std::string bytes;
  for (const auto& keyword : keywords) bytes += Keyword(keyword);
  dir.Write("keyword.dat", bytes);
}

}  // namespace tabrel::testing
