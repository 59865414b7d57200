#pragma once

#include <string>

#include "base/result.h"

namespace tabrel::cli {

// Held by a command while it changes a data set; lets the data set go when
// destroyed.
class WriteLease {
 public:
  WriteLease() = default;
  WriteLease(WriteLease&&) = default;
  WriteLease& operator=(WriteLease&&) = default;
};

// The one place where a writing command takes the data set in `data_folder`
// (ends with "/") for itself. It fails, with the message to print, while
// another copy of the program has the data set open for writing; reading
// commands never call it.
Result<WriteLease> AcquireForWriting(const std::string& data_folder);

}  // namespace tabrel::cli
