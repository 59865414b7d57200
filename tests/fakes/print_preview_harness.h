#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/contact_files.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_preview_view.h"
#include "fakes/temp_dir.h"
#include "present/grid.h"
#include "present/record_list.h"
#include "reports/print_preview.h"
#include "store/settings_record.h"

namespace tabrel::testing {

// A print preview presenter on a temporary program folder (which is also
// the data folder), with the default settings and every service faked.
struct PrintPreviewHarness : FakePlatform {
  PrintPreviewHarness() {
    state.settings = DefaultSettings();
    list.SetFormatString(kMainGridFormat);
  }

  // Rows of the record list holding just these stamps, top to bottom.
  void ListStamps(const std::vector<std::string>& stamps) {
    list.ClearToHeader();
    for (const auto& stamp : stamps) list.AddItem(std::string(kIdColumn, '\t') + Fit(stamp, 19));
  }
  // tabrel.dat holds `records`, listed in file order.
  void ListRecords(const std::vector<ContactRecord>& records) {
    WriteContacts(dir, records);
    std::vector<std::string> stamps;
    for (const auto& record : records) stamps.push_back(record.Modified);
    ListStamps(stamps);
  }
  // tr_view.tmp holds `bytes`, shown in the preview as a report would.
  void Preview(const std::string& bytes) {
    dir.Write("tr_view.tmp", bytes);
    menus.BlankMenu();
    preview.ShowPreview();
  }
  std::string PreviewFile() const { return dir.Read("tr_view.tmp"); }
  // The texts of the printed lines of job `job`.
  std::vector<std::string> JobLines(std::size_t job) const {
    std::vector<std::string> lines;
    for (const auto& line : printer.jobs.at(job).lines) lines.push_back(line.text);
    return lines;
  }

  TempDir dir;
  AppState state{dir.path()};
  FakePreviewView view;
  FakeMenuSwitch menus;
  PrintPreview preview{state, view, menus, platform};
  Grid list;
};

}  // namespace tabrel::testing
