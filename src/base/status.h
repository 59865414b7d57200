#pragma once

#include <string>
#include <utility>

namespace tabrel {

// The outcome of an operation that touches files: success, or a failure that
// carries an error number in the style users of the program know from its
// messages ("Error 76: Path not found") and a sentence naming what failed.
class Status {
 public:
  static Status Ok() { return Status(); }
  static Status Error(int number, std::string description) {
    return Status(number, std::move(description));
  }
  // Turns the errno of a failed system call into a Status that names `what`.
  static Status FromErrno(int err, const std::string& what);

  bool ok() const { return number_ == 0; }
  int number() const { return number_; }
  const std::string& description() const { return description_; }
  // "Error <number>: <description>", the first line of every file error box.
  std::string ErrorLine() const;

 private:
  Status() = default;
  Status(int number, std::string description)
      : number_(number), description_(std::move(description)) {}

  int number_ = 0;
  std::string description_;
};

// Error numbers used across the program.
namespace error_number {
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kOverflow = 6;
}  // namespace error_number

}  // namespace tabrel
