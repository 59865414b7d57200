#pragma once

#include "store/settings_dialog.h"

namespace tabrel::testing {

// The settings dialog's boxes as plain data: Fill shows a form, the test
// edits `form`, and Read hands it back to the presenter.
class FakeSettingsView : public SettingsView {
 public:
  void Fill(const SettingsForm& shown) override {
    form = shown;
    ++fills;
  }
  SettingsForm Read() const override { return form; }
  void SetText(SettingsText id, const std::string& text) override { form.text(id) = text; }
  void CloseDialog() override { ++closed; }

  SettingsForm form;
  int fills = 0;
  int closed = 0;
};

}  // namespace tabrel::testing
