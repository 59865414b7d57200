#pragma once

#include <string>

#include "platform/clock.h"

namespace tabrel::testing {

class FakeClock : public Clock {
 public:
  LocalDateTime Now() override { return now; }
  // Deterministic: "@" and the seconds since 1970.
  std::string FormatDateTime(std::time_t moment) override { return "@" + std::to_string(moment); }
  LocalDateTime now{1999, 12, 31, 45296.13};
};

}  // namespace tabrel::testing
