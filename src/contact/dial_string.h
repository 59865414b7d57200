#pragma once

#include <string>
#include <string_view>

namespace tabrel {

// The digits of a telephone number as typed, in order: blanks, hyphens,
// brackets, letters and the like are dropped (an extension typed into the
// field stays as digits).
std::string DialDigits(std::string_view number);

// What the modem dials for `digits` (DialDigits of a field) under the
// trimmed telephone settings:
// - eleven digits starting with the trunk prefix 1 are read as the last ten,
//   so the 1 is never dialled twice;
// - more than seven digits that start with the own area code lose it;
// - more than seven digits left get "1" and the long-distance prefix in front;
// - the PBX code for an outside line goes in front of everything.
std::string BuildDialString(std::string_view digits, std::string_view area_code,
                            std::string_view long_distance_code, std::string_view pbx_code);

}  // namespace tabrel
