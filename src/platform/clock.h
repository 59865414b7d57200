#pragma once

#include <ctime>
#include <string>

#include "base/date_time.h"

namespace tabrel {

// The system clock, injected so that stamps are exact in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // A moment as the user's locale writes a date and time.
  virtual std::string FormatDateTime(std::time_t moment);
};

}  // namespace tabrel
