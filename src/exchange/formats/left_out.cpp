#include "exchange/formats/left_out.h"

#include "exchange/formats/ldif_reader.h"

namespace tabrel {

void LeftOut::Count(std::string_view kind, std::size_t n) {
  // Few kinds, met again and again: the last one met is looked at first.
  for (auto it = kinds_.rbegin(); it != kinds_.rend(); ++it) {
    if (EqualsNoCase(it->first, kind)) {
      it->second += n;
      return;
    }
  }
  kinds_.emplace_back(std::string(kind), n);
}

}  // namespace tabrel
