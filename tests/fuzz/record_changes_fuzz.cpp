// Changes to a tabrel.dat of arbitrary bytes: the sort keeps every record
// and the trailing partial one, an insert adds exactly one record, and a
// delete removes exactly the records carrying the stamp.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/text.h"
#include "fuzz_data_set.h"
#include "store/contact_insert.h"
#include "store/contact_sort.h"
#include "store/data_set.h"
#include "store/layout.h"

using namespace tabrel;

namespace {

constexpr std::size_t kLength = layout::kContactRecordLength;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Records(std::string_view bytes) {
  std::vector<std::string> records;
  for (std::size_t at = 0; at + kLength <= bytes.size(); at += kLength) {
    records.emplace_back(bytes.substr(at, kLength));
  }
  return records;
}

std::string_view Tail(std::string_view bytes) {
  return bytes.substr(bytes.size() / kLength * kLength);
}

std::string_view StampOf(std::string_view record) {
  return TrimView(record.substr(layout::kModified.offset, layout::kModified.width));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  AppState state(folder.path());
  const std::string path = folder.path() + kContactFileName;

  folder.Write(kContactFileName, input);
  if (!SortContactFile(state).ok()) std::abort();
  const std::string sorted = ReadAll(path);
  std::vector<std::string> before = Records(input);
  std::vector<std::string> after = Records(sorted);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after || Tail(sorted) != Tail(input)) std::abort();

  folder.Write(kContactFileName, input);
  ContactRecord added = BlankContactRecord();
  added.RecType = "1";
  added.LastName = std::string(input.substr(0, 20));
  added.Modified = "01-01-2000 1";
  if (!InsertInNameOrder(state, added).ok()) std::abort();
  const std::string inserted = ReadAll(path);
  if (Records(inserted).size() != Records(input).size() + 1 || Tail(inserted) != Tail(input)) {
    std::abort();
  }

  const std::vector<std::string> records = Records(input);
  if (records.empty()) return 0;
  folder.Write(kContactFileName, input);
  state.editor_record.Modified = std::string(StampOf(records.back()));
  const auto carrying = std::count_if(records.begin(), records.end(), [&](const std::string& r) {
    return StampOf(r) == StampOf(records.back());
  });
  if (!DeleteRecord(state).ok()) std::abort();
  const std::string deleted = ReadAll(path);
  if (Records(deleted).size() != records.size() - static_cast<std::size_t>(carrying) ||
      Tail(deleted) != Tail(input)) {
    std::abort();
  }
  return 0;
}
