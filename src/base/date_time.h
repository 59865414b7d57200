#pragma once

namespace tabrel {

// A local date and time, as the program stamps and prints it.
struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  double seconds_since_midnight = 0;
};

}  // namespace tabrel
