#include "base/status.h"

#include <cerrno>
#include <cstring>

namespace tabrel {

Status Status::FromErrno(int err, const std::string& what) {
  int number = error_number::kPathFileAccess;
  const char* kind = "Path/File access error";
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      number = error_number::kPathNotFound;
      kind = "Path not found";
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      number = error_number::kPermissionDenied;
      kind = "Permission denied";
      break;
    case ENOSPC:
    case EDQUOT:
      number = error_number::kDiskFull;
      kind = "Disk full";
      break;
    case EIO:
      number = error_number::kDeviceIo;
      kind = "Device I/O error";
      break;
    default:
      break;
  }
  std::string text = kind;
  if (!what.empty()) text += " (" + what + ": " + std::strerror(err) + ")";
  return Error(number, text);
}

std::string Status::ErrorLine() const {
  return "Error " + std::to_string(number_) + ": " + description_;
}

}  // namespace tabrel
