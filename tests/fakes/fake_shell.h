#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace tabrel::testing {

// Records every hand-off; fails them on request.
class FakeShell : public Shell {
 public:
  Status StartProgram(const std::vector<std::string>& argv) override {
    started.push_back(argv);
    return fail_start.value_or(Status::Ok());
  }
  Status OpenWithDefault(const std::string& path) override {
    opened.push_back(path);
    return fail_open.value_or(Status::Ok());
  }
  Status OpenUrl(const std::string& url) override {
    urls.push_back(url);
    return fail_open.value_or(Status::Ok());
  }

  std::vector<std::vector<std::string>> started;
  std::vector<std::string> opened;
  std::vector<std::string> urls;
  std::optional<Status> fail_start;
  std::optional<Status> fail_open;  // for files and URLs alike
};

}  // namespace tabrel::testing
