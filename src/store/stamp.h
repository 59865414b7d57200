#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/date_time.h"

namespace tabrel {

// The Modified stamp of a record saved at `when`: "MM-DD-YYYY" followed by
// the seconds since midnight as a single-precision number (BasicStr), cut or
// padded to 19 characters. 31 Dec 1999 at 45296.13 s -> "12-31-1999 45296.13".
std::string MakeStamp(const LocalDateTime& when);

// The date and time a stamp holds; empty when its first ten characters are
// not a real date written "MM-DD-YYYY" (the dotted stamp of a record never
// saved, say). The seconds are read as far as they are a number.
std::optional<LocalDateTime> ParseStamp(std::string_view stamp);

// True when `stamp` holds a real date written "MM-DD-YYYY" followed by a
// time of day in seconds (digits and at most one decimal point, below
// 86,400), as MakeStamp writes them. Blank and dotted stamps are not.
bool IsReadableStamp(std::string_view stamp);
// The moment of a stamp that IsReadableStamp accepts; nothing for any other.
std::optional<LocalDateTime> ParseReadableStamp(std::string_view stamp);

// The moments whose stamps come right after and right before the stamp of
// `when`: one unit of the stamp's resolution away (seven significant digits
// of seconds, so 0.01 s in the afternoon, 0.001 s before 02:46:40), with the
// date rolling over at midnight. Stepping on from a stamp never gives the
// same stamp twice, so a caller can walk to the nearest free stamp.
LocalDateTime NextStampTime(const LocalDateTime& when);
LocalDateTime PreviousStampTime(const LocalDateTime& when);
// MakeStamp(when), with PreviousStampTime(when) into `previous`: the seconds
// are written once for both, as a walk back through free stamps needs both
// at every step.
std::string MakeStampAndPrevious(const LocalDateTime& when, LocalDateTime& previous);

}  // namespace tabrel
