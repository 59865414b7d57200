// Hand-offs to the desktop through its opener, whose exit status tells
// whether the desktop had a program for the URL or file; a program that
// cannot be started is reported with the reason only, since the message
// around it already says that it failed to start.
#include "gui/qt_shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <filesystem>

#include "fakes/temp_dir.h"

namespace tabrel::gui {
namespace {

using namespace std::chrono_literals;

class QtShellTest : public ::testing::Test {
 protected:
  // An opener script that records its arguments, then runs `then`.
  QString Opener(const std::string& then) {
    const std::string name = "opener" + std::to_string(++openers_);
    dir.Write(name, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + dir.File(name + ".args") + "'\n" +
                        then + "\n");
    std::filesystem::permissions(dir.File(name), std::filesystem::perms::owner_all);
    return QString::fromStdString(dir.File(name));
  }
  std::string ArgsOf(int opener) { return dir.Read("opener" + std::to_string(opener) + ".args"); }

  testing::TempDir dir;
  int openers_ = 0;
};

TEST_F(QtShellTest, TheOpenersExitStatusDecides) {
  QtShell found(Opener("exit 0"));
  EXPECT_TRUE(found.OpenUrl("mailto:Ann%20Baker%20%3Cann@example.org%3E").ok());
  EXPECT_EQ(ArgsOf(1), "1|mailto:Ann%20Baker%20%3Cann@example.org%3E|");

  QtShell none(Opener("exit 3"));
  const Status failed = none.OpenUrl("tel:+1-555-123-4567");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.description(),
            "The desktop has no program for it (" + dir.File("opener2") + " ended with status 3).");
  EXPECT_EQ(ArgsOf(2), "1|tel:+1-555-123-4567|");
}

TEST_F(QtShellTest, AProgramThatCannotBeStartedIsReportedWithTheReasonOnly) {
  QtShell shell;
  dir.Write("not-a-program", "text");
  const std::pair<std::string, std::string> cases[] = {
      {dir.File("no-such-browser"), "There is no such file."},
      {dir.File("not-a-program"), "That file is not a program that can be run."},
      {"no-such-browser-on-the-path", "No program of that name is on the search path (PATH)."},
  };
  for (const auto& [program, why] : cases) {
    const Status failed = shell.StartProgram({program, "www.example.org"});
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.description(), why);
  }
}

}  // namespace
}  // namespace tabrel::gui
