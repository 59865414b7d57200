#pragma once

#include "platform/clock.h"

namespace tabrel::gui {

// The computer's clock in local time.
class SystemClock : public Clock {
 public:
  LocalDateTime Now() override;
};

}  // namespace tabrel::gui
