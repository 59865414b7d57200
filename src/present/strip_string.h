#pragma once

#include <string>

namespace tabrel {

// Trims `text` in place, then appends to `result` every character of it that
// is a blank or printable ASCII (codes 32 to 126); control characters and
// codes from 127 up are dropped.
void StripString(std::string& text, std::string& result);

}  // namespace tabrel
