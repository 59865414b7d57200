#include "platform/clock.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace tabrel {

std::string Clock::FormatDateTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  std::ostringstream out;
  try {
    out.imbue(std::locale(""));
  } catch (const std::runtime_error&) {
    // An unknown locale name in the environment: fall back to the classic one.
  }
  out << std::put_time(&local, "%x %X");
  return out.str();
}

}  // namespace tabrel
