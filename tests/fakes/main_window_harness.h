#pragma once

#include <string>
#include <vector>

#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_selector.h"
#include "fakes/fake_help.h"
#include "fakes/fake_main_view.h"
#include "fakes/fake_printer.h"
#include "fakes/temp_dir.h"
#include "mainwin/main_window.h"
#include "store/text.h"

namespace tabrel::testing {

// A main window presenter on a temporary program folder, with every
// platform service faked.
struct MainWindowHarness {
  TempDir dir;
  AppState state{dir.path()};
  FakeMainView view;
  FakeDialogs dialogs;
  FakeHelp help;
  FakeClock clock;
  FakeFileSelector files;
  FakePrinter printer;
  FakeClipboard clipboard;
  Platform platform{dialogs, help, clock, files, printer, clipboard};
  MainWindow window{state, view, platform};

  // The Name column of the record list, trailing blanks removed.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    Grid& grid = window.MainGrid();
    for (int r = 1; r < grid.Rows(); ++r) names.push_back(RTrim(grid.TextAt(r, 0)));
    return names;
  }
  // The keyword list, trailing blanks removed.
  std::vector<std::string> Keywords() {
    std::vector<std::string> keywords;
    Grid& grid = window.KeywordGrid();
    for (int r = 1; r < grid.Rows(); ++r) keywords.push_back(RTrim(grid.TextAt(r, 0)));
    return keywords;
  }
};

}  // namespace tabrel::testing
