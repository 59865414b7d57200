#include "gui/system_clock.h"

#include <QDateTime>
#include <QLocale>

namespace tabrel::gui {

LocalDateTime SystemClock::Now() {
  // One reading, so the date and the time of day always belong together.
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  return LocalDateTime{date.year(), date.month(), date.day(),
                       now.time().msecsSinceStartOfDay() / 1000.0};
}

std::string SystemClock::FormatDateTime(std::time_t moment) {
  return QLocale::system()
      .toString(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(moment)), QLocale::ShortFormat)
      .toStdString();
}

}  // namespace tabrel::gui
