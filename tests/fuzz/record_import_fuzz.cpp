// A native import file of arbitrary bytes merged into a data set that holds
// the first records of the same bytes, under the rules the first byte picks.
// The import file is read as the import window reads it. What is written
// holds the records it had plus those added, its partial last record, and
// every record the import wrote carries a stamp no other record has.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "base/text.h"
#include "exchange/importing/record_import.h"
#include "fuzz_data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"

using namespace tabrel;

namespace {

constexpr std::size_t kLength = layout::kContactRecordLength;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  if (size == 0) return 0;
  const std::string_view input = fuzz::Bytes(data + 1, size - 1);
  const DuplicateRules rules{static_cast<DuplicateDefinition>(data[0] % 3),
                             static_cast<DuplicateSkip>(data[0] / 3 % 3)};
  AppState state(folder.path());
  state.data_path = folder.path();
  // The data set: the first half of the records with a partial one after
  // them; the import file: all of the input.
  const std::size_t held = input.size() / kLength / 2;
  const std::string existing = std::string(input.substr(0, held * kLength)) + "torn";
  folder.Write(kContactFileName, existing);
  folder.Write(kKeywordFileName, "");
  folder.Write("incoming.dat", input);

  auto file = FileReader::Open(folder.path() + "incoming.dat", FileReader::Missing::kFail);
  if (!file.ok()) std::abort();
  auto import = RecordImport::Open(state, rules, {2024, 3, 14, 41234.56});
  if (!import.ok()) std::abort();
  const Status read = file.value().ScanRecords(kLength, [&](std::string_view run, std::size_t) {
    for (std::size_t at = 0; at < run.size(); at += kLength) {
      import.value().Take(ImportKind::kNative, run.substr(at, kLength));
    }
    return true;
  });
  if (!read.ok()) std::abort();
  const ImportReport& report = import.value().report();
  if (report.added() + report.replaced() + report.skipped() != input.size() / kLength) {
    std::abort();
  }
  if (!import.value().Commit().ok()) std::abort();

  const std::string after = ReadAll(folder.path() + kContactFileName);
  if (after.size() != (held + report.added()) * kLength + 4 || !after.ends_with("torn")) {
    std::abort();
  }
  if (!import.value().merge().changed()) {
    if (after != existing) std::abort();
    return 0;
  }
  // Each record the import wrote (a replaced or an added one) differs in its
  // stamp from every other record.
  std::unordered_map<std::string, int> holders;
  for (std::size_t at = 0; at + kLength <= after.size(); at += kLength) {
    ++holders[std::string(
        TrimView(after.substr(at + layout::kModified.offset, layout::kModified.width)))];
  }
  for (std::size_t at = held * kLength; at + kLength <= after.size(); at += kLength) {
    const std::string stamp(
        TrimView(after.substr(at + layout::kModified.offset, layout::kModified.width)));
    if (holders[stamp] != 1) std::abort();
  }
  return 0;
}
