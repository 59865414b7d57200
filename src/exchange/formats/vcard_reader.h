#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/formats/vcard_parser.h"

namespace tabrel {

// What one vCard becomes: a stored record and what was lost making it.
struct VcardEntry {
  std::size_t line = 0;  // of the card's BEGIN:VCARD
  // The stored record (1047 bytes, Windows-1252). Its stamp is blank: the
  // import gives it a fresh one.
  std::string record;
  // The card's REV as a stamp ("MM-DD-YYYY seconds"), the date that "If they
  // are older" compares; empty when the card has none that can be read.
  std::string dated_as;
  // True when the card said whether it is public or personal
  // (X-TABREL-TYPE, or CLASS); otherwise a record it replaces keeps its own.
  bool privacy_given = false;
  // True when no field received anything: the card is not imported.
  bool empty = false;
  std::size_t replaced = 0;          // characters Windows-1252 cannot hold, stored as "?"
  std::size_t cut = 0;               // values cut to their field's width
  std::size_t dropped_keywords = 0;  // categories past the third
};

// The record a card makes:
//
//   LastName, FirstName  N (family, given); without N, FN split at its last
//                blank (the rest is the first name), unless the card is an
//                organisation's
//   Title        TITLE, else ROLE
//   Org          the organisation's name in ORG (its units are left out)
//   Phone, Ext   the TEL that is no fax, mobile or pager: work before
//                preferred before the first; the extension from ";ext=" of a
//                tel: URI or after "ext." / "x" in text
//   Fax, Cellular, Beeper  TEL of type fax, cell, pager (same order)
//   EMail, Web   EMAIL and URL: preferred before work before the first
//   Add1..Country  ADR (work before preferred before the first): the
//                street's first line, then its other lines, the extended
//                address and the post office box in Add2; city, region,
//                postal code, country
//   KW1..KW3     the first three CATEGORIES, each cut to 14 characters, in
//                the slots X-TABREL-SLOTS names if it fits
//   Notes        every NOTE, one after the other, line breaks as CR LF
//   RecType      X-TABREL-TYPE when it holds a type code; else an
//                organisation ("2") when KIND is org, X-ABShowAs is COMPANY
//                or the card has an ORG but no name, otherwise an
//                individual ("1"); personal ("3", "4") when CLASS is
//                PRIVATE or CONFIDENTIAL
//
// Values are trimmed; a one-line field gets no line break or tab (each
// becomes a blank). Text is stored with the Windows-1252 encoder.
VcardEntry EntryOfCard(const VcardCard& card);
// The same into `entry`, whose memory is used again.
void EntryOfCard(const VcardCard& card, VcardEntry& entry);

// Every card of a file, read by VcardParser and made into records.
struct VcardReadResult {
  std::vector<VcardEntry> entries;     // in file order, empty cards included
  std::vector<VcardProblem> problems;  // the file's structure faults; none when it can be imported
  std::string_view encoding;           // see VcardParser::encoding()
  std::size_t begun = 0;               // BEGIN:VCARD lines outside a card
};
VcardReadResult ReadVcards(std::string_view bytes, const VcardReadOptions& options = {});

}  // namespace tabrel
