#pragma once

#include <array>
#include <string>
#include <string_view>

#include "present/progress_view.h"

namespace tabrel {

// The print-options frame of the main window and its five buttons, shown
// while a report's preview is open. The mnemonics avoid every letter of the
// menu bar: a disabled menu's letter still makes Alt+letter ambiguous.
inline constexpr std::string_view kPrintOptionsCaption = " Print Options";

struct PrintOptionButton {
  std::string_view name;  // the event procedure's control
  std::string_view caption;
  std::string_view tooltip;
};
inline constexpr std::array<PrintOptionButton, 5> kPrintOptionButtons = {{
    {"SendPrint", "P&rint", "send list to default system printer as-is"},
    {"SendFile", "Fil&e", "print list to a file"},
    {"PrintToFile", ".&DOC", "attempt to start word processor, open list as .DOC file"},
    {"PrintToHTML", ".HTM&L", "attempt to start web browser, open list as .HTML file"},
    {"CancelPrint", "&Close", "quit preview with no further action"},
}};

// The preview text box's usual font and the fixed-pitch one of address labels.
inline constexpr std::string_view kPreviewFont = "MS Sans Serif";
inline constexpr std::string_view kLabelFont = "courier new";

// What the print preview asks of the main window, besides the hourglass and
// the progress bar. Texts are UTF-8.
class PreviewView : public ProgressView {
 public:
  // The " Print Options" frame with its five buttons.
  virtual void SetPrintOptionsVisible(bool visible) = 0;
  // The multi-line preview text box over the window's inner area.
  virtual void SetPreviewVisible(bool visible) = 0;
  // Line ends in the text are CR LF.
  virtual void SetPreviewText(const std::string& text) = 0;
  // The text as the user may have edited it; any line-end convention.
  virtual std::string PreviewText() const = 0;
  virtual void SetPreviewReadOnly(bool read_only) = 0;
  // kLabelFont (fixed pitch, so label columns line up) or kPreviewFont.
  virtual void SetPreviewFixedPitch(bool fixed_pitch) = 0;
  // The toolbar and the "All Records <F4>" button, hidden during a preview.
  virtual void SetToolbarVisible(bool visible) = 0;
  virtual void SetAllRecordsVisible(bool visible) = 0;
};

// The main window's menus, disabled while a report is built and previewed.
class MenuSwitch {
 public:
  virtual ~MenuSwitch() = default;
  virtual void BlankMenu() = 0;
  virtual void ShowMenu() = 0;
};

}  // namespace tabrel
