#include "present/disk_error.h"

#include <string>

namespace tabrel {

void ReportDiskError(Dialogs& dialogs, const Status& status, std::string_view consequence) {
  std::string text = status.ErrorLine();
  if (!consequence.empty()) text.append("\r\n").append(consequence);
  dialogs.Show({std::move(text),
                std::string(kDiskErrorTitle),
                MessageIcon::kExclamation,
                MessageButtons::kOk,
                {}});
}

}  // namespace tabrel
