#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

// What the desktop front end remembers between runs, kept in the program
// folder beside tr30.ini and never inside it: tr30.ini has a fixed layout
// that other installations read.
inline constexpr const char* kUiStateFileName = "ui-state.ini";

// A window's place: the top-left corner of its frame and the size of its
// inside, in desktop pixels, and whether it was maximised (then the other
// values are its place before that).
struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;

  bool operator==(const WindowGeometry&) const = default;
};

// The UI-state file: plain text, one "[window]" section per window with
// "key=value" lines (x, y, width, height, maximized). Keys and sections this
// version does not know are kept when the file is written again.
class UiState {
 public:
  // Reads `path`. The state is a convenience, never an error: a missing or
  // unreadable file is an empty state, and lines that are not a section or a
  // key=value pair are skipped.
  static UiState Load(const std::string& path);
  static UiState Parse(std::string_view text);

  // The saved place of `window`; empty when the section is missing, lacks a
  // value, or holds one that is not a whole number in a desktop's range.
  std::optional<WindowGeometry> Geometry(const std::string& window) const;
  void SetGeometry(const std::string& window, const WindowGeometry& geometry);

  std::string Text() const;
  // Writes the whole file through a temporary file in the same folder.
  Status Save(const std::string& path, const RewriteFaultHook& fault = nullptr) const;

 private:
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace tabrel
