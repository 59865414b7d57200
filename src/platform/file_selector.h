#pragma once

#include <optional>
#include <string>

namespace tabrel {

// What the user chose in the file selector: the folder shown (always ending
// with "/") and the file picked in it (empty when none was picked).
struct FileChoice {
  std::string folder;
  std::string file;
};

// The file selector's usual caption.
inline constexpr const char* kFileSelectorCaption = " File Selector";

// The file selector: a folder tree, a file list filtered by a pattern, the
// chosen-file box and Select / Cancel, under a caption that says what to
// pick (" Select a file "). Patterns are separated by ";" and match
// case-insensitively ("tabrel.dat;keyword.dat", "*.ldif").
class FileSelector {
 public:
  virtual ~FileSelector() = default;
  // Modal; empty after Cancel. Paths are UTF-8.
  virtual std::optional<FileChoice> Select(const std::string& start_folder,
                                           const std::string& pattern,
                                           const std::string& caption) = 0;
};

}  // namespace tabrel
