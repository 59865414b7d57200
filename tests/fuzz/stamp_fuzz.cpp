// Stamps of arbitrary text: read back, stepped forward and back. A step
// never gives the same stamp, and every stamp made reads back to a date.
#include <cstdint>
#include <cstdlib>

#include "fuzz_data_set.h"
#include "store/stamp.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const auto parsed = ParseStamp(input);
  if (!parsed) return 0;
  LocalDateTime when = *parsed;
  // Seconds read "as far as they are a number" may be anything; a stamp
  // is made only of a time of day.
  if (!(when.seconds_since_midnight >= 0 && when.seconds_since_midnight < 86400)) return 0;
  // A step may cross into the year before or after: keep to four digits.
  if (when.year < 1 || when.year > 9998) return 0;
  const std::string stamp = MakeStamp(when);
  if (stamp.size() != 19 || !ParseStamp(stamp)) std::abort();
  const std::string next = MakeStamp(NextStampTime(when));
  const std::string previous = MakeStamp(PreviousStampTime(when));
  if (next == stamp || previous == stamp || !ParseStamp(next) || !ParseStamp(previous)) {
    std::abort();
  }
  return 0;
}
