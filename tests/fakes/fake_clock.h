#pragma once

#include "platform/clock.h"

namespace tabrel::testing {

class FakeClock : public Clock {
 public:
  LocalDateTime Now() override { return now; }
  LocalDateTime now{1999, 12, 31, 45296.13};
};

}  // namespace tabrel::testing
