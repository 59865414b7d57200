#include "contact/dial_string.h"

namespace tabrel {

std::string DialDigits(std::string_view number) {
  std::string digits;
  for (char c : number) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  return digits;
}

std::string BuildDialString(std::string_view digits, std::string_view area_code,
                            std::string_view long_distance_code, std::string_view pbx_code) {
  std::string number(digits);
  if (number.size() == 11 && number.front() == '1') number.erase(0, 1);
  // A seven-digit local number may start with the same three digits as the
  // area code; only a longer number carries an area code to drop.
  if (number.size() > 7 && !area_code.empty() && number.starts_with(area_code) &&
      area_code.size() == 3) {
    number.erase(0, 3);
  }
  if (number.size() > 7) number = "1" + std::string(long_distance_code) + number;
  return std::string(pbx_code) + number;
}

}  // namespace tabrel
