// A program setting of arbitrary text split into words: no word holds a
// separator outside quotes, and no character appears that was not typed.
#include <cstdint>
#include <cstdlib>

#include "base/command_line.h"
#include "fuzz_data_set.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  std::size_t total = 0;
  for (const std::string& word : SplitCommandLine(input)) {
    total += word.size();
    if (word.find('"') != std::string::npos) std::abort();  // quotes are dropped
  }
  if (total > input.size()) std::abort();
  return 0;
}
