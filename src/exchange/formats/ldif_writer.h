#pragma once

#include <string>
#include <string_view>

namespace tabrel {

// The LDIF entry this program writes for one stored record (1047 bytes):
// 19 lines ended by CR LF, always in this order and always all of them,
// empty values included ("sn: "):
//   dn:, cn (first name, two blanks, last name), sn, givenname,
//   "objectclass: Top", "objectclass: person", description (the notes),
//   locality, st, mail, title, postOfficeBox (Add1), streetaddress (Add2),
//   postalcode, countryname, telephonenumber, facsimiletelephonenumber, o,
//   and an empty line.
// Values are the trimmed fields; the notes' line breaks become blanks and
// their other control characters are dropped. A value that is printable
// ASCII and does not start with a blank, ":" or "<" is written as it
// stands; any other (accented letters, say) as "name:: " and the base64 of
// its UTF-8, as LDIF requires.
void AppendLdifEntry(std::string_view record, std::string& out);

}  // namespace tabrel
