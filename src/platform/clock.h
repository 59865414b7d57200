#pragma once

#include <ctime>
#include <string>

namespace tabrel {

// A local date and time, as the program stamps and prints it.
struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  double seconds_since_midnight = 0;
};

// The system clock, injected so that stamps are exact in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // A moment as the user's locale writes a date and time.
  virtual std::string FormatDateTime(std::time_t moment);
};

}  // namespace tabrel
