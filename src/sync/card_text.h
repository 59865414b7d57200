#pragma once

#include <string>
#include <string_view>

#include "exchange/formats/vcard_writer.h"

namespace tabrel {

// A card from the server read the way an import reads it.
struct ServerRecord {
  std::string record;     // 1047 bytes, stamp blank
  std::string uid;        // the card's UID; empty when it has none
  std::string name;       // "First Last" or the organisation, for reports (UTF-8)
  bool unmapped = false;  // it holds values a record cannot show (PHOTO, BDAY, a second EMAIL...)
};
ServerRecord ReadServerCard(std::string_view text);

// The card to send for `record` (1047 bytes). With `stored` (the card as
// the server last had it) empty: a card of its own (VcardWriter), UID from
// the stamp. Otherwise `stored` is kept line for line but for the
// properties whose record fields changed since it was read, which are
// replaced by what the writer makes of them (N and FN, ORG, TITLE, the TEL
// of each kind, the EMAIL, URL and ADR the reader took, NOTE, CATEGORIES,
// X-TABREL-TYPE, REV): its photos, birthdays, further numbers and
// addresses, groups and X- properties stay as they were.
std::string CardForRecord(std::string_view record, std::string_view stored, VcardVersion version);

// True when records `a` and `b` hold the same fields (the stamp left out).
bool SameContent(std::string_view a, std::string_view b);

// "urn:uuid:1234..." -> "1234....vcf": the resource name of a new card.
std::string HrefForUid(std::string_view uid);

}  // namespace tabrel
