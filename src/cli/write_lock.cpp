#include "cli/write_lock.h"

namespace tabrel::cli {

Result<WriteLease> AcquireForWriting(const std::string& /*data_folder*/) {
  // The data-set lock (store/data_set_lock.h) is taken here once it exists.
  return WriteLease();
}

}  // namespace tabrel::cli
