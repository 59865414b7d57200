#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/fake_game_view.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "mainwin/main_window.h"
#include "present/record_list.h"

namespace tabrel::testing {

// Remembers what the presenter gave the parts of the window tests look at.
class FakeMainView : public MainView {
 public:
  void SetCaption(const std::string&) override {}
  void SetMenuEnabled(MenuId id, bool enabled) override { menu_enabled[id] = enabled; }
  void SetMenuChecked(MenuId id, bool checked) override { menu_checked[id] = checked; }
  void SetMenuCaption(MenuId id, const std::string& text) override { menu_caption[id] = text; }
  void SetStatusText(StatusPanelId panel, const std::string& text) override {
    status[panel] = text;
    status_history.push_back({panel, text});
  }
  void SetControlVisible(Control control, bool visible) override {
    shown[control] = visible;
    visibility_changes.push_back({control, visible});
  }
  void FocusControl(Control control) override { focused = control; }
  Control FocusedControl() const override { return focused; }
  void SetProgressRange(int, int) override {}
  void SetProgressValue(int) override {}
  void SetBusy(bool on) override { busy = on; }
  void ShowSplash() override {}
  void CloseSplash() override {}
  void SetKeywordEditText(const std::string& text) override { keyword_edit = text; }
  std::string KeywordEditText() const override { return keyword_edit; }
  bool KeyOpPersonal() const override { return personal; }
  void ShowRecordView(const ViewPanelContent& content) override { record_view = content; }
  void OpenSettings() override {}
  void OpenEditor() override { ++editor_opened; }
  void OpenSyncWindow() override { ++sync_opened; }
  void OpenServerSettings() override { ++server_settings_opened; }
  GameView& GameWindow() override { return game; }
  void OpenImportWindow(const ImportSource& source) override { import_windows.push_back(source); }
  void OpenCommaParse(const std::string& path) override { comma_windows.push_back(path); }
  void CloseWindow() override {}
  void SetPrintOptionsVisible(bool visible) override { print_options_visible = visible; }
  void SetPreviewVisible(bool) override {}
  void SetPreviewText(const std::string& text) override { preview_text = text; }
  std::string PreviewText() const override { return preview_text; }
  void SetPreviewReadOnly(bool) override {}
  void SetPreviewFixedPitch(bool) override {}
  void SetToolbarVisible(bool) override {}
  void SetAllRecordsVisible(bool) override {}
  void SetProgressVisible(bool) override {}

  std::map<MenuId, bool> menu_enabled;
  std::map<MenuId, bool> menu_checked;
  std::map<MenuId, std::string> menu_caption;
  std::map<StatusPanelId, std::string> status;
  std::vector<std::pair<StatusPanelId, std::string>> status_history;
  std::map<Control, bool> shown;
  std::vector<std::pair<Control, bool>> visibility_changes;
  Control focused = Control::kMainGrid;
  std::string keyword_edit;
  bool personal = false;
  ViewPanelContent record_view;
  int editor_opened = 0;
  int sync_opened = 0;
  int server_settings_opened = 0;
  std::vector<ImportSource> import_windows;
  std::vector<std::string> comma_windows;
  bool print_options_visible = false;
  std::string preview_text;
  FakeGameView game;
  bool busy = false;
};

// A main window presenter on a temporary program folder, with every
// platform service faked.
struct MainWindowHarness : FakePlatform {
  TempDir dir;
  AppState state{dir.path()};
  FakeMainView view;
  MainWindow window{state, view, platform};

  MainWindowHarness() { view.game.game = &window.Game(); }

  void Pop(std::string selection = std::string(kAllRecords)) { window.PopMainGrid(selection); }
  // The first column of the record list (or the keyword list), trailing
  // blanks removed.
  std::vector<std::string> Names(bool keywords = false) {
    Grid& grid = keywords ? window.KeywordGrid() : window.MainGrid();
    std::vector<std::string> names;
    for (int r = 1; r < grid.Rows(); ++r) names.push_back(RTrim(grid.TextAt(r, 0)));
    return names;
  }
};

}  // namespace tabrel::testing
