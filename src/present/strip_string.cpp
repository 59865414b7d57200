#include "present/strip_string.h"

#include "base/text.h"

namespace tabrel {

void StripString(std::string& text, std::string& result) {
  text = Trim(text);
  for (char ch : text) {
    const auto code = static_cast<unsigned char>(ch);
    if (code >= 32 && code <= 126) result.push_back(ch);
  }
}

}  // namespace tabrel
