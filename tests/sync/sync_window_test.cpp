// The sync and server settings windows' presenters, on a main window with
// faked platform services and the sync itself stubbed (or, for a failure,
// the real one against a port nobody answers).
#include <gtest/gtest.h>

#include <map>

#include "fakes/main_window_harness.h"
#include "sync/server_settings.h"
#include "sync/sync_window.h"

namespace tabrel {
namespace {

struct FakeSyncView : SyncWindowView, ServerSettingsView {
  void ShowProgress(const std::string& step, std::size_t, std::size_t) override {
    steps.push_back(step);
    if (on_progress) on_progress();
  }
  void ShowResult(const std::string& shown_heading,
                  const std::vector<std::string>& shown) override {
    heading = shown_heading;
    lines = shown;
  }
  void OpenServerSettings() override { ++settings_opened; }
  void CloseWindow() override { ++closed; }
  void SetFields(const ServerSettingsFields& shown) override { fields = shown; }
  ServerSettingsFields Fields() const override { return fields; }

  std::vector<std::string> steps, lines;
  std::string heading;
  std::function<void()> on_progress;
  ServerSettingsFields fields;
  int settings_opened = 0, closed = 0;
};

struct SyncWindowTest : ::testing::Test, testing::MainWindowHarness {
  SyncWindowTest() { window.Form_Load(); }
  void Configure(const std::string& url, const std::string& command = "") {
    SyncConfig config;
    config.url = url;
    config.user = "anna";
    config.password_command = command;
    ASSERT_TRUE(config.Write(state).ok());
  }
  FakeSyncView sync_view;
  std::vector<SyncOptions> runs;
  SyncWindow Window(std::function<Result<SyncReport>(SyncObserver*, const AskPassword&)> body) {
    return SyncWindow(
        state, dialogs, window, sync_view,
        [this, body](const SyncOptions& options, SyncObserver* observer, const AskPassword& ask) {
          runs.push_back(options);
          return body(observer, ask);
        });
  }
};

TEST_F(SyncWindowTest, FromTheMenuReadOnlyRefusesAndWithoutAServerOpensTheSettings) {
  state.read_only = true;
  window.MenuClicked(MenuId::mu_Sync);
  window.MenuClicked(MenuId::mu_ServerSettings);
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(view.sync_opened + view.server_settings_opened, 0);
  state.read_only = false;
  window.MenuClicked(MenuId::mu_Sync);
  EXPECT_EQ(view.sync_opened, 1);

  SyncWindow sync = Window([](SyncObserver*, const AskPassword&) { return SyncReport{}; });
  sync.Form_Load();
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(sync_view.closed, 1);
  EXPECT_EQ(sync_view.settings_opened, 1);
}

TEST_F(SyncWindowTest, ARunAsksThePasswordAndBeforeAMassDeletionThenListsTheResult) {
  Configure("https://dav.example/");
  dialogs.input_answers = {std::string("pw")};
  dialogs.answers = {MessageAnswer::kYes};
  SyncWindow sync =
      Window([this](SyncObserver* observer, const AskPassword& ask) -> Result<SyncReport> {
        if (!ask(SyncConfig{}).ok()) return Status::Error(1, "asked twice");
        if (!runs.back().allow_mass_delete) return Status::Error(kSyncMassDelete, "Would delete 9");
        observer->Progress("Sending", 1, 2);
        SyncReport report;
        report.sent = 2;
        report.conflicts = {"Berg, Anna"};
        return report;
      });
  sync.Form_Load();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(sync_view.heading, "Done.");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
  EXPECT_EQ(dialogs.inputs.size(), 1u) << "the second run asks once more";
  const std::string all = ::testing::PrintToString(sync_view.lines);
  EXPECT_NE(all.find("Berg, Anna"), std::string::npos) << all;
  EXPECT_EQ(sync_view.steps, std::vector<std::string>{"Sending"});
  sync.Cancel_Click();
  EXPECT_EQ(sync_view.closed, 1) << "Close after the run";
}

TEST_F(SyncWindowTest, CancelStopsBetweenRequestsAndAFailureChangesNothing) {
  Configure("https://dav.example/", "echo pw");
  SyncWindow cancelled =
      Window([](SyncObserver* observer, const AskPassword&) -> Result<SyncReport> {
        observer->Progress("Fetching", 0, 3);
        if (observer->Cancelled()) return Status::Error(1, "The sync was cancelled");
        return SyncReport{};
      });
  sync_view.on_progress = [&] { cancelled.Cancel_Click(); };
  cancelled.Form_Load();
  EXPECT_EQ(sync_view.lines, std::vector<std::string>{"The sync was cancelled."});
  EXPECT_EQ(sync_view.closed, 0) << "Cancel while running only stops the run";

  // The real sync, against a port nobody listens on.
  Configure("http://127.0.0.1:9/", "echo pw");
  const std::string records = dir.Read("tabrel.dat");
  SyncWindow failing(
      state, dialogs, window, sync_view,
      [this](const SyncOptions& options, SyncObserver* observer, const AskPassword& ask) {
        return RunSyncJob(state, clock, options, observer, ask);
      });
  failing.Form_Load();
  EXPECT_EQ(sync_view.heading, "The sync did not finish.");
  ASSERT_EQ(sync_view.lines.size(), 1u);
  EXPECT_NE(sync_view.lines[0].find("127.0.0.1"), std::string::npos) << sync_view.lines[0];
  EXPECT_EQ(dir.Read("tabrel.dat"), records);
  EXPECT_TRUE(dialogs.messages.empty());
}

struct MapSecretStore : SecretStore {
  Result<std::string> Lookup(const std::string& url, const std::string& user) override {
    return kept[url + " " + user];
  }
  Status Keep(const std::string& url, const std::string& user, const std::string& pw) override {
    kept[url + " " + user] = pw;
    return Status::Ok();
  }
  std::map<std::string, std::string> kept;
};

TEST_F(SyncWindowTest, ServerSettingsSaveWhatTheCoreAcceptsAndNoPassword) {
  FakeSyncView settings_view;
  MapSecretStore secrets;
  ServerSettings settings(state, dialogs, secrets, settings_view);
  settings.Form_Load();
  EXPECT_EQ(settings_view.fields.source, PasswordSource::kAsk);
  settings_view.fields.url = "http://dav.example/";
  settings_view.fields.user = "anna";
  settings_view.fields.addressbook = "contacts";
  settings.Save_Click();
  settings_view.fields.allow_plain_http = true;
  settings_view.fields.source = PasswordSource::kSecretStore;
  settings.Save_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_NE(dialogs.messages[0].text.find("plain http"), std::string::npos);
  EXPECT_EQ(dialogs.messages[1].text, "Give the password to keep in the desktop's secret store.");
  EXPECT_FALSE(SyncConfig::Read(state).value().configured());
  settings_view.fields.password = "pw 1";
  settings.Save_Click();
  EXPECT_EQ(secrets.kept["http://dav.example/ anna"], "pw 1");
  EXPECT_EQ(dir.Read(kSyncConfigName).find("pw 1"), std::string::npos);
  settings.Form_Load();
  EXPECT_EQ(settings_view.fields.source, PasswordSource::kSecretStore);
  settings_view.fields.source = PasswordSource::kCommand;
  settings_view.fields.password_command = "pass show dav";
  settings.Save_Click();
  EXPECT_EQ(settings_view.closed, 2);
  const std::string saved = dir.Read(kSyncConfigName);
  EXPECT_NE(saved.find("\nuser = anna\naddressbook = contacts\npassword-command = pass show "
                       "dav\nallow-plain-http = yes\n"),
            std::string::npos)
      << saved;
}

}  // namespace
}  // namespace tabrel
