#include "gui/file_pattern.h"

namespace tabrel::gui {

FilePattern::FilePattern(const QString& pattern) {
  for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString wildcard = part.trimmed();
    if (wildcard.isEmpty()) continue;
    wildcards_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                         QRegularExpression::CaseInsensitiveOption));
  }
}

bool FilePattern::Matches(const QString& file_name) const {
  if (wildcards_.isEmpty()) return true;
  for (const QRegularExpression& wildcard : wildcards_) {
    if (wildcard.match(file_name).hasMatch()) return true;
  }
  return false;
}

}  // namespace tabrel::gui
