#include "store/stamp.h"

#include <cstdio>

#include "base/basic_number.h"
#include "base/text.h"
#include "store/layout.h"

namespace tabrel {

std::string MakeStamp(const LocalDateTime& when) {
  char date[32];
  std::snprintf(date, sizeof date, "%02d-%02d-%04d", when.month, when.day, when.year);
  return Fit(std::string(date) + BasicStr(static_cast<float>(when.seconds_since_midnight)),
             layout::kModified.width);
}

}  // namespace tabrel
