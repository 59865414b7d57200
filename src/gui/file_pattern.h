#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

namespace tabrel::gui {

// The file selector's pattern: wildcards ("*", "?", "[...]") separated by
// ";", any of which lets a name through. Case is ignored, so a data set
// written on a system that capitalises file names still shows. A pattern
// with no wildcard in it lets every name through.
class FilePattern {
 public:
  explicit FilePattern(const QString& pattern);

  bool Matches(const QString& file_name) const;

 private:
  QList<QRegularExpression> wildcards_;
};

}  // namespace tabrel::gui
