#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "exchange/exchange_menu.h"
#include "exchange/import_window.h"
#include "fakes/contact_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "present/grid.h"
#include "present/record_list.h"

namespace tabrel::testing {

// The main window as the Import / Export menu sees it: a record list the
// test fills, and a log of what was asked. While `read_only` is set it
// refuses changes as the main window does.
class FakeExchangeHost : public MainListHost, public ExchangeView, public ProgressView {
 public:
  FakeExchangeHost() { list.SetFormatString(kMainGridFormat); }

  Grid& MainGrid() override { return list; }
  void PopMainGrid(std::string&) override {}
  void PopKeywordGrid() override { ++keyword_refills; }
  void SetGridColors() override {}
  void HideViewPanel() override {}
  void ImportWritten() override { ++keyword_refills; }
  void mu_FreeListOFF_Click() override {}
  void mu_DisplayAll_Click() override {}
  void OpenDataSet() override {}
  bool CheckWritable() override {
    ++writable_checks;
    return !read_only;
  }
  void OpenImportWindow(const ImportSource& source) override { opened.push_back(source); }
  void OpenCommaParse(const std::string& path) override { comma_opened.push_back(path); }
  void SetBusy(bool value) override { busy = value; }
  void SetProgressVisible(bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressValue(int) override {}

  // Rows of the record list holding just these stamps, top to bottom.
  void ListStamps(const std::vector<std::string>& stamps) {
    list.ClearToHeader();
    for (const auto& stamp : stamps) list.AddItem(std::string(kIdColumn, '\t') + Fit(stamp, 19));
  }

  Grid list;
  std::vector<ImportSource> opened;
  std::vector<std::string> comma_opened;
  int keyword_refills = 0;
  int writable_checks = 0;
  bool read_only = false;
  bool busy = false;
};

// Remembers what the import window was told to show.
class FakeImportView : public ImportView {
 public:
  void SetFilePath(const std::string& text) override { path = text; }
  void SetDescription(const std::string& text) override { description = text; }
  void SetTargetText(const std::string& text) override { target = text; }
  void SetRules(DuplicateRules value) override { rules = value; }
  DuplicateRules Rules() const override { return rules; }
  void ShowExtrasToNotes(bool shown) override { extras_shown = shown; }
  bool ExtrasToNotes() const override { return extras_to_notes; }
  void SetProgressRange(int minimum, int maximum) override { range = {minimum, maximum}; }
  void SetProgressValue(int value) override { progress.push_back(value); }
  void SetBusy(bool value) override { busy = value; }
  void SetResultText(const std::string& text) override { results = text; }
  void SetListText(const std::string& text) override { list = text; }
  void SetListVisible(bool visible) override { list_visible = visible; }
  void Close() override { closed = true; }

  std::string path, description, target, results, list;
  bool extras_shown = false, extras_to_notes = false;
  DuplicateRules rules{DuplicateDefinition::kSameName, DuplicateSkip::kNever};
  std::pair<int, int> range{0, 0};
  std::vector<int> progress;
  bool busy = false;
  bool list_visible = false;
  bool closed = false;
};

// A program folder, a data folder and a documents folder (the export
// folder), with the exchange menu and an import window over them.
struct ExchangeHarness : FakePlatform {
  ExchangeHarness() {
    state.data_path = data.path();
    state.export_folder = documents.path();
  }

  // Opens the import window on the file at `path`.
  ImportWindow& OpenImport(ImportKind kind, const std::string& path) {
    window = std::make_unique<ImportWindow>(state, import_view, host, dialogs, clock,
                                            ImportSource{kind, path});
    window->Form_Load();
    return *window;
  }

  // The message boxes' texts, in order.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const Message& m : dialogs.messages) texts.push_back(m.text);
    return texts;
  }

  TempDir program;
  TempDir data;
  TempDir documents;
  AppState state{program.path()};
  FakeExchangeHost host;
  ExchangeMenu menu{state, host, host, host, dialogs, files, clock};
  FakeImportView import_view;
  std::unique_ptr<ImportWindow> window;
};

}  // namespace tabrel::testing
