#include "store/app_state.h"

#include "store/text.h"

namespace tabrel {

AppState::AppState(std::string program_folder_path)
    : program_folder(WithSlash(program_folder_path)),
      data_path(program_folder),
      current_record(BlankContactRecord()),
      editor_record(BlankContactRecord()) {}

std::string WithSlash(const std::string& folder) {
  std::string out = Trim(folder);
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

}  // namespace tabrel
