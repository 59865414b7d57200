#pragma once

#include <array>
#include <map>
#include <string>

#include "editor/contact_editor.h"

namespace tabrel::testing {

// The editor window as plain data: tests type into `fields` and read back
// what the presenter showed.
class FakeEditorView : public EditorView {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetFieldText(EditorField field, const std::string& text) override { fields[field] = text; }
  std::string FieldText(EditorField field) const override {
    const auto it = fields.find(field);
    return it == fields.end() ? std::string() : it->second;
  }
  void SetTypeCaption(const std::string& text) override { type_caption = text; }
  void SetKeywordSlot(int slot, const std::string& text) override {
    slots.at(static_cast<std::size_t>(slot - 1)) = text;
  }
  void ShowScratchPad(bool visible) override { scratch_visible = visible; }
  void Close() override { ++closed; }

  std::string caption;
  std::map<EditorField, std::string> fields;
  std::string type_caption;
  std::array<std::string, 3> slots;
  bool scratch_visible = true;
  int closed = 0;
};

}  // namespace tabrel::testing
