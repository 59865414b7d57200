#pragma once

#include <map>
#include <string>
#include <vector>

#include "mainwin/main_view.h"

namespace tabrel::testing {

// Remembers the last state the presenter gave each part of the window.
class FakeMainView : public MainView {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetMenuEnabled(MenuId id, bool enabled) override { menu_enabled[id] = enabled; }
  void SetMenuChecked(MenuId id, bool checked) override { menu_checked[id] = checked; }
  void SetMenuCaption(MenuId id, const std::string& text) override { menu_caption[id] = text; }
  void SetStatusText(int panel, const std::string& text) override {
    status[panel] = text;
    status_history.push_back({panel, text});
  }
  void SetControlVisible(Control control, bool visible) override {
    visible_controls[control] = visible;
  }
  void FocusControl(Control control) override { focused = control; }
  Control FocusedControl() const override { return focused; }
  void SetProgressRange(int minimum, int maximum) override { progress_range = {minimum, maximum}; }
  void SetProgressValue(int value) override { progress_value = value; }
  void SetBusy(bool is_busy) override { busy = is_busy; }
  void ShowSplash() override { splash_shown = true; }
  void CloseSplash() override { splash_closed = true; }
  void SetKeywordEditText(const std::string& text) override { keyword_edit = text; }
  std::string KeywordEditText() const override { return keyword_edit; }
  bool KeyOpPersonal() const override { return personal; }
  void ShowRecordView(const ViewPanelContent& content) override { record_view = content; }
  void OpenSettings() override { ++settings_opened; }
  void OpenEditor() override { ++editor_opened; }
  void CloseWindow() override { closed = true; }

  std::string caption;
  std::map<MenuId, bool> menu_enabled;
  std::map<MenuId, bool> menu_checked;
  std::map<MenuId, std::string> menu_caption;
  std::map<int, std::string> status;
  std::vector<std::pair<int, std::string>> status_history;
  std::map<Control, bool> visible_controls;
  Control focused = Control::kMainGrid;
  std::pair<int, int> progress_range{0, 0};
  int progress_value = 0;
  bool busy = false;
  bool splash_shown = false;
  bool splash_closed = false;
  std::string keyword_edit;
  bool personal = false;
  int settings_opened = 0;
  int editor_opened = 0;
  ViewPanelContent record_view;
  bool closed = false;
};

}  // namespace tabrel::testing
