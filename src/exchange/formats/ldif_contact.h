#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/formats/ldif_reader.h"
#include "exchange/formats/record_builder.h"

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

}  // namespace tabrel
