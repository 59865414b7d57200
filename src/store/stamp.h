#pragma once

#include <string>

#include "base/date_time.h"

namespace tabrel {

// The Modified stamp of a record saved at `when`: "MM-DD-YYYY" followed by
// the seconds since midnight as a single-precision number (BasicStr), cut or
// padded to 19 characters. 31 Dec 1999 at 45296.13 s -> "12-31-1999 45296.13".
std::string MakeStamp(const LocalDateTime& when);

}  // namespace tabrel
