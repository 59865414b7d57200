// Where exports go by default.
#include "store/documents_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

TEST(DocumentsFolderTest, TheVariableThenTheUserDirsFileThenHome) {
  testing::TempDir home;
  const std::string h = home.path().substr(0, home.path().size() - 1);
  std::filesystem::create_directories(home.File(".config"));
  std::filesystem::create_directories(home.File("Dokumente"));
  std::filesystem::create_directories(home.File("elsewhere/docs"));
  // No user-dirs file yet: the home folder.
  EXPECT_EQ(DocumentsFolderPath(nullptr, nullptr, h.c_str()).value(), home.path());
  home.Write(".config/user-dirs.dirs",
             "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
             "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(DocumentsFolderPath(nullptr, nullptr, h.c_str()).value(), home.File("Dokumente/"));
  // The variable wins when it names a folder; a missing one is ignored.
  const std::string docs = home.File("elsewhere/docs");
  EXPECT_EQ(DocumentsFolderPath(docs.c_str(), nullptr, h.c_str()).value(), docs + "/");
  EXPECT_EQ(DocumentsFolderPath(home.File("gone").c_str(), nullptr, h.c_str()).value(),
            home.File("Dokumente/"));
  // A config folder elsewhere, naming a folder that does not exist: home.
  home.Write("elsewhere/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/no/such/folder\"\n");
  EXPECT_EQ(DocumentsFolderPath(nullptr, home.File("elsewhere").c_str(), h.c_str()).value(),
            home.path());
  // The same from the environment.
  const std::string saved = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("HOME", h.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", home.File("elsewhere").c_str(), 1);
  ::setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
  const std::string named = DocumentsFolderPath().value();
  ::unsetenv("XDG_DOCUMENTS_DIR");
  EXPECT_EQ(named + " " + DocumentsFolderPath().value(), docs + "/ " + home.path());
  ::setenv("HOME", saved.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_FALSE(DocumentsFolderPath(nullptr, nullptr, "relative").ok());
  EXPECT_FALSE(DocumentsFolderPath(nullptr, nullptr, nullptr).ok());
}

}  // namespace
}  // namespace tabrel
