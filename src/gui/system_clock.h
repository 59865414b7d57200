#pragma once

#include "platform/clock.h"

namespace tabrel::gui {

// The computer's clock in local time.
class SystemClock : public Clock {
 public:
  LocalDateTime Now() override;
  // In the system locale's short date and time format.
  std::string FormatDateTime(std::time_t moment) override;
};

}  // namespace tabrel::gui
