#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

// Numbers as the program's stored texts and settings have always read and
// written them.

// The leading number of a text: blanks, tabs and line feeds are skipped
// wherever they stand, then an optional sign, digits, a decimal point and an
// exponent (E or D) are taken as far as they go; "&H" and "&O" introduce hex
// and octal. No number gives 0.
double BasicVal(std::string_view text);

// Rounds half to even; empty when the result does not fit a 16-bit integer.
std::optional<std::int16_t> RoundToInt16(double value);

// The shortest decimal text that reads back as `value` ("5.5", "100",
// "1E+20"); zero is "0".
std::string ShortestDecimal(double value);

// A single-precision number written with one leading blank (or "-"), at most
// seven significant digits, no trailing zeros and no "0" before a leading
// decimal point: 45296.13f -> " 45296.13", 0.5f -> " .5".
std::string BasicStr(float value);

}  // namespace tabrel
