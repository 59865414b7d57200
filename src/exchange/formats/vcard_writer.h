#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tabrel {

enum class VcardVersion {
  k30,  // RFC 2426, which nearly every address book reads
  k40,  // RFC 6350
};

// "3.0" or "4.0".
std::string_view VersionText(VcardVersion version);

struct VcardWriteOptions {
  VcardVersion version = VcardVersion::k30;
};

// vCards of stored records (1047 bytes each, Windows-1252), one card per
// record: UTF-8, lines ended by CR LF and folded at 75 octets without
// splitting a character, text values escaped (\\ \, \; and \n for a line
// break). Every field is carried:
//
//   N            LastName;FirstName
//   FN           "FirstName LastName"; for an organisation record its Org
//   ORG, TITLE   Org, Title
//   ADR;TYPE=work  Add1 and Add2 as the two lines of the street, City,
//                State, Zip, Country
//   TEL          Phone (work,voice), Fax (work,fax), Cellular (cell),
//                Beeper (pager); the extension " ext. N" after the number in
//                3.0, and ";ext=N" in a tel: URI in 4.0. A number that a
//                tel: URI cannot carry exactly (a blank, a letter) is
//                written as text in 4.0 too, so nothing of it is lost.
//   EMAIL, URL   EMail, Web
//   CATEGORIES   the keywords, personal "~" ones too; when a blank slot
//                comes before a keyword, X-TABREL-SLOTS=2,3 says which
//                slots they fill
//   NOTE         Notes, line breaks kept
//   REV          the stamp's date and time (local time, as stamped)
//   UID          a name-based UUID of the stamp: the same record exported
//                twice has the same UID
//   X-TABREL-TYPE  the record type code, so that a round trip keeps it
//
// and in 4.0 KIND:org for an organisation record. Blank fields are left
// out, but N and FN, which readers need, are always written.
void AppendVcard(std::string_view record, const VcardWriteOptions& options, std::string& out);
std::string VcardsOf(std::span<const std::string_view> records, const VcardWriteOptions& options);

// The UID of a record stamped `stamp`: "urn:uuid:" and the version 5 UUID
// of the trimmed stamp.
std::string VcardUid(std::string_view stamp);
// The REV value of `stamp` ("1999-12-31T12:34:56" in 3.0,
// "19991231T123456" in 4.0); empty when the stamp is not a date and time.
std::string VcardRevision(std::string_view stamp, VcardVersion version);

}  // namespace tabrel
