#include "store/app_state.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/text.h"

namespace tabrel {

AppState::AppState(std::string program_folder_path)
    : program_folder(WithSlash(program_folder_path)),
      data_path(program_folder),
      export_folder(program_folder),
      current_record(BlankContactRecord()),
      editor_record(BlankContactRecord()) {}

std::string AppState::DataFile(const std::string& name) const {
  namespace fs = std::filesystem;
  const std::string exact = data_path + name;
  std::error_code ec;
  if (fs::exists(exact, ec) || ec) return exact;
  auto same = [&](const std::string& other) {
    return other.size() == name.size() &&
           std::equal(other.begin(), other.end(), name.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  for (fs::directory_iterator it(data_path, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (same(candidate)) return data_path + candidate;
  }
  return exact;
}

std::string WithSlash(const std::string& folder) {
  std::string out = Trim(folder);
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

}  // namespace tabrel
