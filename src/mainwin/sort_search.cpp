#include "mainwin/sort_search.h"

#include <cerrno>
#include <fstream>

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "present/record_list.h"
#include "store/contact_sort.h"

namespace tabrel {

SortSearch::SortSearch(AppState& state, MainView& view, Dialogs& dialogs, MainListHost& host)
    : state_(state), view_(view), dialogs_(dialogs), host_(host) {}

void SortSearch::mu_Sort_Click() {
  view_.SetControlVisible(Control::kProgressBar, true);
  view_.SetBusy(true);
  const Status sorted = SortContactFile(state_, sort_buffer_);
  view_.SetBusy(false);
  if (!sorted.ok()) {
    ReportDiskError(dialogs_, sorted, "The data set was not sorted; it is unchanged.");
  }
  host_.MainGrid().SetVisible(false);
  std::string all(kAllRecords);
  host_.PopMainGrid(all);
}

void SortSearch::mu_WordSearchCurrent_Click() {
  const auto answer =
      dialogs_.Input("Find what?", "Search for a word", DecodeCp1252(state_.last_search_word));
  // Cancel answers an empty word, and that is what the next prompt offers.
  const std::string word = answer ? UpperCp1252(Trim(EncodeCp1252(*answer).bytes)) : std::string();
  state_.last_search_word = word;
  if (word.empty()) return;

  // The rows listed now, by their stamps, for the fill to search within.
  Grid& grid = host_.MainGrid();
  std::string list;
  list.reserve(static_cast<std::size_t>(grid.Rows()) * 21);
  for (int row = 1; row < grid.Rows(); ++row) {
    list.append(grid.TextAt(row, kIdColumn));
    list.append("\r\n");
  }
  grid.SetCol(kIdColumn);
  const std::string path = state_.ProgramFile(kSearchListName);
  {
    // A scratch file the fill deletes again: no need to flush it to disk.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(list.data(), static_cast<std::streamsize>(list.size()));
    out.close();
    if (!out) {
      ReportDiskError(dialogs_, Status::FromErrno(errno ? errno : EIO, path),
                      "The search could not start.");
      return;
    }
  }
  std::string selection = std::string(kWordSearchPrefix) + word;
  host_.PopMainGrid(selection);
  view_.FocusControl(Control::kMainGrid);
  host_.SetGridColors();
}

}  // namespace tabrel
