// The lease a writing command holds: one writer per data set, whether the
// other holder is a command or the window.
#include "cli/write_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "store/data_set.h"
#include "store/data_set_lock.h"

namespace tabrel {
namespace {

using testing::Contact;

class WriteLockTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(dir, {Contact("1", "Home", "Hal", "01-01-2000 1")});
  }
  std::ostringstream note;
};

TEST_F(WriteLockTest, WhileACommandHoldsTheDataSetTheWindowOpensItReadOnlyAndOthersAreRefused) {
  auto lease = std::make_optional(cli::AcquireForWriting(dir.path(), note));
  ASSERT_TRUE(lease->ok()) << lease->status().description();
  EXPECT_EQ(lease->value().folder(), dir.path());

  const auto second = cli::AcquireForWriting(dir.path(), note);
  ASSERT_FALSE(second.ok());
  EXPECT_EQ(second.status().description(),
            "The data set in " + dir.path() +
                " is open in another copy of Tabrel, so it cannot be changed now. Nothing was "
                "changed. Close the other copy, then try again.");

  const std::string records = dir.Read("tabrel.dat");
  window.Form_Load();
  EXPECT_TRUE(state.read_only);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Data set in use");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Home, Hal"})) << "reading still works";
  dialogs.messages.clear();
  window.MenuClicked(MenuId::mu_NewRecord);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Data set in use");
  EXPECT_EQ(DeleteRecord(state).number(), error_number::kPermissionDenied);
  EXPECT_EQ(dir.Read("tabrel.dat"), records);

  // The command ends: the lease lets go, and the next one gets it.
  lease.reset();
  EXPECT_TRUE(cli::AcquireForWriting(dir.path(), note).ok());
}

TEST_F(WriteLockTest, AFolderThatCannotHoldALockIsRefusedWithTheReason) {
  const auto refused = cli::AcquireForWriting(dir.File("missing/"), note);
  ASSERT_FALSE(refused.ok());
  const std::string& text = refused.status().description();
  EXPECT_TRUE(text.starts_with("Error 76: Path not found")) << text;
  EXPECT_NE(text.find("The data set in " + dir.File("missing/") + " cannot be locked for writing."),
            std::string::npos)
      << text;
}

TEST_F(WriteLockTest, ALockFileThatCannotBeUsedOpensTheWindowReadOnlySayingWhy) {
  const struct {
    const char* kind;
    std::function<void(const std::string&)> make;
    const char* reason;
  } cases[] = {
      {"folder", [](const std::string& path) { std::filesystem::create_directory(path); },
       "Is a directory"},
      {"symbolic link", [](const std::string& path) { std::filesystem::create_symlink("x", path); },
       "Too many levels of symbolic links"},
      {"unreadable file",
       [](const std::string& path) {
         std::ofstream{path};
         std::filesystem::permissions(path, std::filesystem::perms::none);
       },
       "Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    if (std::string(c.kind) == "unreadable file" && ::geteuid() == 0) {
      GTEST_SKIP() << "permission bits do not stop root";
    }
    std::filesystem::remove_all(dir.File(kLockFileName));
    c.make(dir.File(kLockFileName));
    const auto refused = cli::AcquireForWriting(dir.path(), note);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.status().description().find(c.reason), std::string::npos);

    window.Form_Load();
    EXPECT_TRUE(state.read_only);
    ASSERT_FALSE(dialogs.messages.empty());
    const std::string& text = dialogs.messages.back().text;
    EXPECT_TRUE(
        text.starts_with("The data set in " + dir.path() + " cannot be locked for writing: "))
        << text;
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(". It is shown read-only.")) << text;
    dialogs.messages.clear();
    window.MenuClicked(MenuId::mu_NewRecord);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The data set in " + dir.path() +
                                            " is open read-only, because it cannot be locked for "
                                            "writing. Nothing can be changed here.");
    dialogs.messages.clear();
  }
}

}  // namespace
}  // namespace tabrel
