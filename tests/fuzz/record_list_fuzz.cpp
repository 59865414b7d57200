// tabrel.dat and keyword.dat of arbitrary bytes: the record list in each of
// its selections and filters, the lookups by stamp and the stamp set. None
// may crash, and every row the list shows must be found again by its ID.
#include <cstdint>
#include <cstdlib>

#include "fuzz_data_set.h"
#include "present/grid.h"
#include "present/record_list.h"
#include "store/data_set.h"
#include "store/layout.h"
#include "store/stamp_index.h"
#include "store/stamp_set.h"

using namespace tabrel;

namespace {

// Whether some record's stamp holds a control character: the list shows a
// blank in its place, and that row's ID may then match no record.
bool AnyControlInStamps(std::string_view file) {
  namespace l = layout;
  for (std::size_t at = 0; at + l::kContactRecordLength <= file.size();
       at += l::kContactRecordLength) {
    for (char c : file.substr(at + l::kModified.offset, l::kModified.width)) {
      const auto code = static_cast<unsigned char>(c);
      if (code < 0x20 || code == 0x7F) return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  // The first byte picks the selection and filter; the rest is the file.
  const unsigned char choice = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
  const std::string_view file = input.empty() ? input : input.substr(1);
  folder.Write(kContactFileName, file);
  folder.Write(kKeywordFileName, file.substr(0, file.size() % 200));

  AppState state(folder.path());
  state.filter = (choice & 3) == 1   ? kFilterPublicOnly
                 : (choice & 3) == 2 ? kFilterPersonalOnly
                                     : kFilterAll;
  state.list_mode = (choice & 4) ? kListFree : kListNormal;
  std::string selection;
  switch ((choice >> 3) & 3) {
    case 0:
      selection = std::string(kAllRecords);
      break;
    case 1:
      break;  // records without keywords
    case 2:
      selection = std::string(kWordSearchPrefix) + std::string(file.substr(0, choice % 7));
      folder.Write(kSearchListName, file.substr(0, 64));
      break;
    default:
      selection = std::string(file.substr(0, 14));
      break;
  }
  Grid grid;
  grid.SetFormatString(kMainGridFormat);
  const auto added = AppendSelectedRows(grid, state, selection, {});
  if (!added.ok()) std::abort();  // a readable file must always list

  auto index = StampIndex::Open(state);
  if (!index.ok()) std::abort();
  const bool exact_ids = !AnyControlInStamps(file);
  for (int row = 1; row < grid.Rows(); ++row) {
    // Whatever a field holds, the ID stays in the last of eleven columns.
    if (grid.Cols() != 11 || grid.TextAt(row, kIdColumn).size() != 19) std::abort();
    const std::string_view id = grid.TextAt(row, kIdColumn);
    state.editor_record.Modified = std::string(id);
    const auto found = LoadRecordByStamp(state);
    if (!found.ok()) std::abort();
    if (exact_ids && (!found.value() || !index.value().Find(id))) std::abort();
  }
  auto stamps = StampSet::Read(state);
  if (!stamps.ok()) std::abort();
  const std::string fresh = stamps.value().TakeAtOrAfter({2000, 1, 1, 1});
  if (!stamps.value().Contains(fresh)) std::abort();
  return 0;
}
