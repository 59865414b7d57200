#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "mainwin/main_view.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "reports/preview_view.h"

namespace tabrel::bench {

// A main window and desktop services that do nothing, so that a benchmark
// times the presenter and the files alone. When the view or a service grows
// a method, it grows here too.
class NullMainView : public MainView {
 public:
  void SetCaption(const std::string&) override {}
  void SetMenuEnabled(MenuId, bool) override {}
  void SetMenuChecked(MenuId, bool) override {}
  void SetMenuCaption(MenuId, const std::string&) override {}
  void SetStatusText(StatusPanelId, const std::string&) override {}
  void SetControlVisible(Control, bool) override {}
  void FocusControl(Control) override {}
  Control FocusedControl() const override { return Control::kMainGrid; }
  void SetProgressRange(int, int) override {}
  void SetProgressValue(int) override {}
  void SetBusy(bool) override {}
  void ShowSplash() override {}
  void CloseSplash() override {}
  void ShowRecordView(const ViewPanelContent&) override {}
  void SetKeywordEditText(const std::string&) override {}
  std::string KeywordEditText() const override { return {}; }
  bool KeyOpPersonal() const override { return false; }
  void OpenSettings() override {}
  void OpenEditor() override {}
  GameView& GameWindow() override { return game; }
  void OpenImportWindow(const ImportSource&) override {}
  void OpenCommaParse(const std::string&) override {}
  void OpenSyncWindow() override {}
  void OpenServerSettings() override {}
  void CloseWindow() override {}
  void SetPrintOptionsVisible(bool) override {}
  void SetPreviewVisible(bool) override {}
  void SetPreviewText(const std::string&) override {}
  std::string PreviewText() const override { return {}; }
  void SetPreviewReadOnly(bool) override {}
  void SetPreviewFixedPitch(bool) override {}
  void SetToolbarVisible(bool) override {}
  void SetAllRecordsVisible(bool) override {}
  void SetProgressVisible(bool) override {}

 private:
  class NullGameView : public GameView {
   public:
    void SetSquareText(int, const std::string&) override {}
    void SetSquareVisible(int, bool) override {}
    void SetPrompt(const std::string&) override {}
    void SetMessage(const std::string&) override {}
    void SetLastScore(const std::string&) override {}
    void SetBestScore(const std::string&) override {}
    void ShowWindow() override {}
    void CloseWindow() override {}
  } game;
};

class NullDialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message&) override { return MessageAnswer::kOk; }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return std::nullopt;
  }
};

class NullHelp : public HelpViewer {
 public:
  void ShowContents() override {}
  void ShowTopic(const std::string&) override {}
  void Close() override {}
};

class FixedClock : public Clock {
 public:
  LocalDateTime Now() override { return {2024, 3, 14, 41234.56}; }
};

class NullFileSelector : public FileSelector {
 public:
  std::optional<FileChoice> Select(const std::string&, const std::string&,
                                   const std::string&) override {
    return std::nullopt;
  }
};

class NullPrinter : public Printer {
 public:
  void SetFont(const std::string&, bool, int) override {}
  void PrintLine(const std::string&) override {}
  void SetPosition(int, int) override {}
  int CurrentX() const override { return 0; }
  int CurrentY() const override { return 0; }
  int TextWidth(const std::string&) override { return 0; }
  int PageWidth() const override { return 0; }
  void SetEnvelopeSetting() override {}
  void NewPage() override {}
  Status EndDoc() override { return Status::Ok(); }
};

class NullClipboard : public Clipboard {
 public:
  void Clear() override {}
  void SetText(const std::string&) override {}
};

class NullPreviewView : public PreviewView {
 public:
  void SetPrintOptionsVisible(bool) override {}
  void SetPreviewVisible(bool) override {}
  void SetPreviewText(const std::string& text) override { text_size = text.size(); }
  std::string PreviewText() const override { return {}; }
  void SetPreviewReadOnly(bool) override {}
  void SetPreviewFixedPitch(bool) override {}
  void SetToolbarVisible(bool) override {}
  void SetAllRecordsVisible(bool) override {}
  void SetProgressVisible(bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressValue(int) override {}
  void SetBusy(bool) override {}
  std::size_t text_size = 0;  // of the last preview text, so that it is not optimised away
};

class NullMenuSwitch : public MenuSwitch {
 public:
  void BlankMenu() override {}
  void ShowMenu() override {}
};

class NullShell : public Shell {
 public:
  Status StartProgram(const std::vector<std::string>&) override { return Status::Ok(); }
  Status OpenWithDefault(const std::string&) override { return Status::Ok(); }
  Status OpenUrl(const std::string&) override { return Status::Ok(); }
};

class NullSerialPort : public SerialPort {
 public:
  Status Open(int) override { return Status::Error(53, "No modem in a benchmark."); }
  std::string DeviceName() const override { return {}; }
  bool IsOpen() const override { return false; }
  Status Write(std::string_view) override { return Status::Ok(); }
  Result<std::string> ReadUntil(const std::function<bool(std::string_view)>&,
                                std::chrono::milliseconds) override {
    return std::string();
  }
  void Interrupt() override {}
  void Close() override {}
};

// Every service, owned together; `platform` refers to the members above it.
struct NullPlatform {
  NullDialogs dialogs;
  NullHelp help;
  FixedClock clock;
  NullFileSelector files;
  NullPrinter printer;
  NullClipboard clipboard;
  NullShell shell;
  NullSerialPort serial;
  Platform platform{dialogs, help, clock, files, printer, clipboard, shell, serial};
};

}  // namespace tabrel::bench
