#pragma once

#include <string>

#include "exchange/importing/import_source.h"

namespace tabrel {

// What the Import / Export menu asks of the main window's view besides the
// hourglass and the progress bar (ProgressView); MainView derives from it.
class ExchangeView {
 public:
  virtual ~ExchangeView() = default;
  // Opens the modeless import window "Tabrel Record Import Controls" on
  // `source`; the main window stays usable while it is open.
  virtual void OpenImportWindow(const ImportSource& source) = 0;
  // Opens the modeless field selector "Comma-Delimited Import Field
  // Selector" on the comma-delimited file at `path` (checked to be text).
  virtual void OpenCommaParse(const std::string& path) = 0;
};

}  // namespace tabrel
