#include "store/stamp.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "base/basic_number.h"
#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

constexpr double kSecondsPerDay = 86400;
// The last moment of a day a stamp can show.
constexpr double kLastSecond = 86399.99;

constexpr std::size_t kDateWidth = 10;  // "MM-DD-YYYY"

// The seconds as the stamp shows them, from their BasicStr text: a float at
// seven significant digits, and only as many of those as the nineteen
// characters hold (".0488888" of 0.04888889), so that a step starts from
// what the stamp says.
double AsWritten(std::string_view written) {
  const std::string_view shown = written.substr(0, layout::kModified.width - kDateWidth);
  // Most are digits with a point after the sign's blank, which BasicVal
  // would read as from_chars does.
  const std::string_view number = TrimView(shown);
  const bool plain = !number.empty() &&
                     number.find_first_not_of("0123456789.") == std::string_view::npos &&
                     std::count(number.begin(), number.end(), '.') <= 1 &&
                     number.find_first_of("0123456789") != std::string_view::npos;
  double value = 0;
  if (plain && std::from_chars(number.data(), number.data() + number.size(), value).ptr ==
                   number.data() + number.size()) {
    return value;
  }
  return BasicVal(shown);
}

double AsWritten(const LocalDateTime& when) {
  return AsWritten(BasicStr(static_cast<float>(when.seconds_since_midnight)));
}

// Below this the seconds need more places than the 19 characters hold, so
// stepping goes straight between it and midnight.
constexpr double kSmallest = 0.01;

// One unit of the seventh significant digit of `seconds` (>= kSmallest), or
// of the seventh decimal, the last one a stamp has room for.
double UnitOf(double seconds) {
  return std::max(std::pow(10.0, std::floor(std::log10(seconds)) - 6), 1e-7);
}

LocalDateTime AddDays(const LocalDateTime& when, int days, double seconds) {
  using namespace std::chrono;
  const sys_days day =
      sys_days(year_month_day(year(when.year), month(static_cast<unsigned>(when.month)),
                              std::chrono::day(static_cast<unsigned>(when.day)))) +
      std::chrono::days(days);
  const year_month_day ymd(day);
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())), seconds};
}

bool TwoDigits(std::string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] >= '0' && text[at] <= '9' && text[at + 1] >= '0' &&
         text[at + 1] <= '9';
}

}  // namespace

namespace {

std::string StampOf(const LocalDateTime& when, std::string_view seconds) {
  std::string stamp;
  stamp.reserve(32);
  if (when.month >= 0 && when.month <= 99 && when.day >= 0 && when.day <= 99 && when.year >= 0 &&
      when.year <= 9999) {
    // "MM-DD-YYYY" by hand: a stamp is made for every imported record.
    const auto put = [&stamp](int value, int digits) {
      for (int unit = digits == 4 ? 1000 : 10; unit > 0; unit /= 10) {
        stamp.push_back(static_cast<char>('0' + value / unit % 10));
      }
    };
    put(when.month, 2);
    stamp.push_back('-');
    put(when.day, 2);
    stamp.push_back('-');
    put(when.year, 4);
  } else {
    char date[40];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", when.month, when.day, when.year);
    stamp = date;
  }
  stamp += seconds;
  stamp.resize(layout::kModified.width, ' ');
  return stamp;
}

// The moment before `when`, whose seconds the stamp shows as `seconds`.
LocalDateTime PreviousOf(const LocalDateTime& when, double seconds) {
  if (seconds <= 0) return AddDays(when, -1, kLastSecond);
  if (seconds <= kSmallest) return {when.year, when.month, when.day, 0};
  // Just below a power of ten the digits reach one place further.
  double unit = UnitOf(seconds);
  if (std::round(seconds / unit) == 1e6 && unit > 1e-7) unit /= 10;
  return {when.year, when.month, when.day, (std::round(seconds / unit) - 1) * unit};
}

}  // namespace

std::string MakeStamp(const LocalDateTime& when) {
  return StampOf(when, BasicStr(static_cast<float>(when.seconds_since_midnight)));
}

std::string MakeStampAndPrevious(const LocalDateTime& when, LocalDateTime& previous) {
  const std::string seconds = BasicStr(static_cast<float>(when.seconds_since_midnight));
  previous = PreviousOf(when, AsWritten(seconds));
  return StampOf(when, seconds);
}

std::optional<LocalDateTime> ParseStamp(std::string_view stamp) {
  if (stamp.size() < 10 || !TwoDigits(stamp, 0) || stamp[2] != '-' || !TwoDigits(stamp, 3) ||
      stamp[5] != '-' || !TwoDigits(stamp, 6) || !TwoDigits(stamp, 8)) {
    return std::nullopt;
  }
  const auto number = [&stamp](std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (stamp[i] - '0');
    return value;
  };
  const std::chrono::year_month_day date(std::chrono::year(number(6, 4)),
                                         std::chrono::month(static_cast<unsigned>(number(0, 2))),
                                         std::chrono::day(static_cast<unsigned>(number(3, 2))));
  if (!date.ok()) return std::nullopt;
  return LocalDateTime{number(6, 4), number(0, 2), number(3, 2), BasicVal(stamp.substr(10))};
}

LocalDateTime NextStampTime(const LocalDateTime& when) {
  const double seconds = AsWritten(when);
  if (seconds < kSmallest) return {when.year, when.month, when.day, kSmallest};
  const double unit = UnitOf(seconds);
  const double next = (std::round(seconds / unit) + 1) * unit;
  if (next >= kSecondsPerDay) return AddDays(when, 1, 0);
  return {when.year, when.month, when.day, next};
}

LocalDateTime PreviousStampTime(const LocalDateTime& when) {
  return PreviousOf(when, AsWritten(when));
}

bool IsReadableStamp(std::string_view stamp) {
  return ParseReadableStamp(stamp).has_value();
}

std::optional<LocalDateTime> ParseReadableStamp(std::string_view stamp) {
  const auto parsed = ParseStamp(stamp);
  if (!parsed) return std::nullopt;
  bool digit = false;
  int points = 0;
  for (char c : TrimView(stamp.substr(10))) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != '.' || ++points > 1) {
      return std::nullopt;
    }
  }
  if (!digit || parsed->seconds_since_midnight >= 86400) return std::nullopt;
  return parsed;
}

}  // namespace tabrel
