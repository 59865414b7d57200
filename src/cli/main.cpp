// tabrel-cli: the Tabrel data set from a terminal or a script.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  std::error_code ec;
  const std::filesystem::path working = std::filesystem::current_path(ec);
  tabrel::cli::Environment env{std::getenv("XDG_DATA_HOME"),
                               std::getenv("HOME"),
                               std::getenv("SOURCE_DATE_EPOCH"),
                               ec ? std::string("/") : working.string(),
                               std::cin,
                               std::cout,
                               std::cerr};
  return tabrel::cli::Main(arguments, env);
}
