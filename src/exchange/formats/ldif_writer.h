#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tabrel {

// The LDIF entries this program writes for stored records (1047 bytes
// each), one entry a record: 19 lines ended by CR LF, always in this order
// and always all of them, empty values included ("sn: "):
//   dn, cn (first name, two blanks, last name), sn, givenname,
//   "objectclass: Top", "objectclass: person", description (the notes),
//   locality, st, mail, title, postOfficeBox (Add1), streetaddress (Add2),
//   postalcode, countryname, telephonenumber, facsimiletelephonenumber, o,
//   and an empty line.
// The dn is "cn=<cn>,mail=<mail>" (the trimmed cn and e-mail, with the
// characters a DN escapes escaped), as the mail programs write it; a
// program that reads the file takes entries with one dn for one, so where
// an earlier entry of `records` has the same, the cn part gets " (2)",
// " (3)"... until it is distinct.
// Values are the trimmed fields; the notes' line breaks become blanks and
// their other control characters are dropped. A value that is printable
// ASCII and does not start with a blank, ":" or "<" is written as it
// stands; any other (accented letters, say) as "name:: " and the base64 of
// its UTF-8, as LDIF requires.
void AppendLdifEntries(std::span<const std::string_view> records, std::string& out);

}  // namespace tabrel
