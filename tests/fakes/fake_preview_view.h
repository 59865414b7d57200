#pragma once

#include <string>
#include <utility>
#include <vector>

#include "reports/preview_view.h"

namespace tabrel::testing {

// Remembers the last state the print preview gave each part of the window.
// The text box hands back what was set, or `edited_text` once a test sets it.
class FakePreviewView : public PreviewView {
 public:
  void SetPrintOptionsVisible(bool visible) override { print_options_visible = visible; }
  void SetPreviewVisible(bool visible) override { preview_visible = visible; }
  void SetPreviewText(const std::string& text) override {
    preview_text = text;
    ++text_sets;
  }
  std::string PreviewText() const override { return preview_text; }
  void SetPreviewReadOnly(bool read_only) override { this->read_only = read_only; }
  void SetPreviewFixedPitch(bool fixed) override { fixed_pitch = fixed; }
  void SetToolbarVisible(bool visible) override { toolbar_visible = visible; }
  void SetAllRecordsVisible(bool visible) override { all_records_visible = visible; }
  void SetProgressVisible(bool visible) override {
    progress_visible = visible;
    progress_shown += visible;
  }
  void SetProgressRange(int minimum, int maximum) override { progress_range = {minimum, maximum}; }
  void SetProgressValue(int value) override { progress_values.push_back(value); }
  void SetBusy(bool is_busy) override {
    busy = is_busy;
    busy_shown += is_busy;
  }

  bool print_options_visible = false;
  bool preview_visible = false;
  std::string preview_text;
  int text_sets = 0;
  bool read_only = false;
  bool fixed_pitch = false;
  bool toolbar_visible = true;
  bool all_records_visible = true;
  bool progress_visible = false;
  int progress_shown = 0;  // times the bar was shown
  std::pair<int, int> progress_range{0, 0};
  std::vector<int> progress_values;
  bool busy = false;
  int busy_shown = 0;  // times the hourglass was shown
};

// Counts how the menus were switched; `enabled` is their last state.
class FakeMenuSwitch : public MenuSwitch {
 public:
  void BlankMenu() override {
    enabled = false;
    ++blanked;
  }
  void ShowMenu() override {
    enabled = true;
    ++shown;
  }

  bool enabled = true;
  int blanked = 0;
  int shown = 0;
};

}  // namespace tabrel::testing
