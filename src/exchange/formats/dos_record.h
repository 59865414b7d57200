#pragma once

#include <string>
#include <string_view>

namespace tabrel {

// Conversion between the stored 1047-byte record of tabrel.dat and the
// 533-byte record of the DOS generation (layout::kDos*). Text bytes are
// copied unchanged both ways.

// The DOS record of stored record `stored`, as the DOS export writes it:
// each field trimmed and cut or padded to its DOS width (Phone and Fax to
// 14, Ext to 4, State to 2); Country only when the trimmed text has at most
// 2 characters, blanks otherwise; characters 1-70 and 71-140 of Notes as
// its two note lines, except that a CR LF right after character 70 (where
// ContactOfDos puts the line break) is left out, so that a DOS record read
// in and written out again keeps its second line. Title, mobile and pager
// are not carried.
std::string DosRecordOf(std::string_view stored);
// The same, appended to `out` without a copy in between.
void AppendDosRecord(std::string_view stored, std::string& out);

// The stored record that DOS record `dos` becomes when it is added: every
// field copied and padded to its stored width, Notes the first note line,
// CR LF and the second (both at their full 70 characters), Title, Cellular
// and Beeper blank.
std::string ContactOfDos(std::string_view dos);

// The stored record that results when DOS record `dos` replaces stored
// record `existing`. The DOS record cannot carry everything: Title, Cellular
// and Beeper keep the existing values, and every other field keeps its
// existing full value when the DOS field equals what the DOS export of
// `existing` gives for it (the DOS side did not change it; a 40-character
// country or a 300-character note then survives the round trip). Every
// other field, the type and the stamp come from the DOS record.
std::string DosReplacement(std::string_view existing, std::string_view dos);

}  // namespace tabrel
