// tabrel_sample: writes a generated data set (tabrel.dat and keyword.dat)
// for demonstrations and screenshots.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "sample_data.h"
#include "store/app_state.h"
#include "store/layout.h"

namespace {

constexpr int kDefaultCount = 200;

int Usage() {
  std::cerr << "usage: tabrel_sample [--force] FOLDER [COUNT]\n"
               "Writes COUNT (default "
            << kDefaultCount << ", at most " << tabrel::layout::kMaxRecords
            << ") generated contacts to FOLDER/tabrel.dat and their keywords to\n"
               "FOLDER/keyword.dat. An existing non-empty tabrel.dat is kept unless --force.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool force = false;
  std::string folder;
  std::string count_text;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--force") {
      force = true;
    } else if (arg.starts_with("-")) {
      return Usage();
    } else if (folder.empty()) {
      folder = arg;
    } else if (count_text.empty()) {
      count_text = arg;
    } else {
      return Usage();
    }
  }
  if (folder.empty()) return Usage();

  int count = kDefaultCount;
  if (!count_text.empty()) {
    char* end = nullptr;
    const long n = std::strtol(count_text.c_str(), &end, 10);
    if (*end != '\0' || n < 0 || n > static_cast<long>(tabrel::layout::kMaxRecords)) return Usage();
    count = static_cast<int>(n);
  }

  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(folder, ec);
  const fs::path contacts = fs::path(folder) / tabrel::kContactFileName;
  if (!force && fs::exists(contacts) && fs::file_size(contacts, ec) > 0) {
    std::cerr << contacts.string() << " already holds records; use --force to replace it.\n";
    return 1;
  }
  if (tabrel::Status s = tabrel::sample::WriteSampleDataSet(folder, count); !s.ok()) {
    std::cerr << s.ErrorLine() << "\n";
    return 1;
  }
  std::cout << "Wrote " << count << " records to " << contacts.string() << "\n";
  return 0;
}
