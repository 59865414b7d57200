#pragma once

#include <optional>
#include <string>

#include "exchange/exchange_view.h"
#include "game/squares_game.h"
#include "mainwin/menu_tree.h"
#include "reports/preview_view.h"

namespace tabrel {

// Controls of the main window that the presenter shows, hides or focuses.
// The two grids show and hide through their Grid models.
enum class Control {
  kNone,
  kMainGrid,
  kKeywordGrid,
  kAllRecords,
  kProgressBar,
  kBackground,   // backdrop of the record view panel
  kViewFrame,    // the record view panel
  kKeyFrame,     // keyword edit
  kKeywordEdit,  // the keyword text box in the keyword edit frame
  kFileSelector,
  kPreviewText,
  kToolbar,
};

// What the record view panel shows, as UTF-8. A caption left empty keeps
// the panel's previous caption (a record of no known type).
struct ViewPanelContent {
  std::optional<std::string> caption;
  std::string name, org, add1, add2, csz;
  std::string phone, ext, fax, cellular, beeper;
  std::string email, web;
  std::string kw1, kw2, kw3;
  std::string rec_type, rec_age, notes;

  bool operator==(const ViewPanelContent&) const = default;
};

// What the main window presenter asks of its window. Texts are UTF-8.
class MainView : public PreviewView, public ExchangeView {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMenuEnabled(MenuId id, bool enabled) = 0;
  virtual void SetMenuChecked(MenuId id, bool checked) = 0;
  virtual void SetMenuCaption(MenuId id, const std::string& caption) = 0;
  virtual void SetStatusText(StatusPanelId panel, const std::string& text) = 0;
  virtual void SetControlVisible(Control control, bool visible) = 0;
  virtual void FocusControl(Control control) = 0;
  // kMainGrid, kKeywordGrid, or kNone when the focus is elsewhere.
  virtual Control FocusedControl() const = 0;
  virtual void ShowSplash() = 0;
  virtual void CloseSplash() = 0;
  // Fills the record view panel's labels and notes.
  virtual void ShowRecordView(const ViewPanelContent& content) = 0;
  // The keyword edit frame's text box and its personal/public choice.
  virtual void SetKeywordEditText(const std::string& text) = 0;
  virtual std::string KeywordEditText() const = 0;
  virtual bool KeyOpPersonal() const = 0;
  // Opens the settings dialog (modeless); it reads tr30.ini itself.
  virtual void OpenSettings() = 0;
  // Opens the record editor (modal to nothing: the main window stays usable);
  // the editor's presenter reads the editor mode and record from the state.
  virtual void OpenEditor() = 0;
  // The squares game's window, made on first use (hidden). It belongs to
  // the main window and closes with it.
  virtual GameView& GameWindow() = 0;
  // Opens the import window on a checked file (modeless, like the editor).
  void OpenImportWindow(const ImportSource& source) override = 0;
  // Opens the comma-delimited field selector on a checked file (modeless).
  void OpenCommaParse(const std::string& path) override = 0;
  // Opens the sync window (modal), which runs one sync of the data set in
  // use, or the server settings (modal) that carddav.ini keeps.
  virtual void OpenSyncWindow() = 0;
  virtual void OpenServerSettings() = 0;
  // Ends the program.
  virtual void CloseWindow() = 0;
};

}  // namespace tabrel
