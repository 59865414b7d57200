// The file selector's pattern of arbitrary text against an arbitrary name:
// no pattern may crash or hang, and the pattern's own words match
// themselves whatever their case.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "fuzz_data_set.h"
#include "gui/file_pattern.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const std::size_t cut = input.find('\n');
  const std::string_view pattern = input.substr(0, cut);
  const std::string_view name = cut == std::string_view::npos ? "" : input.substr(cut + 1);
  const QString q_pattern =
      QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size()));
  const gui::FilePattern files(q_pattern);
  files.Matches(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  // A plain file name is a pattern that lets itself through.
  bool plain = !pattern.empty();
  for (char c : pattern) plain = plain && ((c >= 'a' && c <= 'z') || c == '.' || c == '-');
  if (plain && !files.Matches(q_pattern.toUpper())) std::abort();
  return 0;
}
