#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/ldif_reader.h"
#include "exchange/new_records_import.h"
#include "exchange/record_builder.h"

namespace tabrel {

// What an LDIF record becomes.
enum class LdifOutcome {
  kIndividual,    // a person: a record of type "1"
  kOrganisation,  // an organisation without a person's name: type "2"
  kChange,        // a change to a directory (modify, delete, modrdn): skipped
  kGroup,         // a mailing list or group (member, uniquemember): skipped
  kNoContact,     // directory structure, no name, organisation or e-mail: skipped
};

// Fills `out` (cleared first) from an LDIF entry, by attribute names
// compared without case:
//   sn, surname -> LastName; givenName, gn -> FirstName; o -> Org;
//   title -> Title; mail -> EMail; telephoneNumber (else homePhone) ->
//   Phone; facsimileTelephoneNumber, fax -> Fax; mobile, cellphone ->
//   Cellular; pager, pagerphone -> Beeper; labeledURI (the URI before the
//   first blank), mozillaWorkUrl (else mozillaHomeUrl) -> Web;
//   description -> Notes; street, postOfficeBox -> Add1; streetAddress,
//   mozillaWorkStreet2 -> Add2 (or Add1 when nothing else fills it); l,
//   locality -> City; st -> State; postalCode -> Zip; co, countryName, c ->
//   Country. The mozillaHome... address fills the address fields of an
//   entry that has no other address.
// Without givenName and sn, cn gives the names (split at its last blank,
// the rest being the first name); with only one of them, cn gives the other
// when it begins or ends with it.
// Where an attribute has several values the first wins; a value without
// options wins over one with options (";lang-en"), unless only the latter
// can be stored without "?". Binary and phonetic values, URL values and
// empty values are never taken; passwords and every other attribute are
// left alone.
LdifOutcome ContactFromLdif(const LdifRecord& record, RecordBuilder& out);

// The keyword of every record an LDIF import adds.
inline constexpr std::string_view kLdifKeyword = "ldif_New";

// What an LDIF import left out.
struct LdifSkipped {
  std::size_t changes = 0;
  std::size_t groups = 0;
  std::size_t no_contact = 0;
  std::size_t bad_lines = 0;  // lines that could not be read at all
  std::size_t entries() const { return changes + groups + no_contact; }
};

// Adds a record for every entry of `text` (LDIF, decoded) that
// ContactFromLdif makes one of, with the keyword kLdifKeyword; counts the
// others.
LdifSkipped AddLdifRecords(std::string_view text, NewRecordsImport& import,
                           const ImportProgress& progress = nullptr);

// "N entries were skipped: ..." naming each reason, and the unreadable
// lines; empty when nothing was left out.
std::string LdifSkippedText(const LdifSkipped& skipped);

}  // namespace tabrel
