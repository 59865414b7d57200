#include "gui/system_clock.h"

#include <QDateTime>

namespace tabrel::gui {

LocalDateTime SystemClock::Now() {
  // One reading, so the date and the time of day always belong together.
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  return LocalDateTime{date.year(), date.month(), date.day(),
                       now.time().msecsSinceStartOfDay() / 1000.0};
}

}  // namespace tabrel::gui
