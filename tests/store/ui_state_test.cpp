#include "store/ui_state.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

constexpr char kWindow[] = "main window";

TEST(UiStateTest, GeometrySurvivesASaveAndALoadKeepingSectionsAndKeysItDoesNotKnow) {
  TempDir dir;
  UiState state = UiState::Parse("[columns]\nname=200\n[main window]\nx=1\ndock=left\n");
  state.SetGeometry(kWindow, {-40, 25, 1100, 700, true});
  state.SetGeometry("editor", {5, 6, 300, 200, false});
  ASSERT_TRUE(state.Save(dir.File(kUiStateFileName)).ok());
  const UiState loaded = UiState::Load(dir.File(kUiStateFileName));
  EXPECT_EQ(loaded.Geometry(kWindow), (WindowGeometry{-40, 25, 1100, 700, true}));
  EXPECT_EQ(loaded.Geometry("editor"), (WindowGeometry{5, 6, 300, 200, false}));
  EXPECT_EQ(testing::FileNames(dir), (std::vector<std::string>{kUiStateFileName}));
  EXPECT_NE(state.Text().find("[columns]\nname=200\n"), std::string::npos) << state.Text();
  EXPECT_NE(state.Text().find("dock=left\n"), std::string::npos) << state.Text();
}

TEST(UiStateTest, ReadsTheFileAsWrittenByHandWithBlanksCrLfAndComments) {
  const UiState state = UiState::Parse(
      "# comment\r\n; another\r\n[ main window ]\r\n  x = 10\r\nY=1\r\ny=20\r\n"
      "width=800\r\nheight=600\r\n");
  EXPECT_EQ(state.Geometry(kWindow), (WindowGeometry{10, 20, 800, 600, false}));
}

TEST(UiStateTest, DamagedOrMissingValuesGiveNoGeometry) {
  const std::string good = "[main window]\nx=10\ny=20\nwidth=800\nheight=600\nmaximized=0\n";
  EXPECT_TRUE(UiState::Parse(good).Geometry(kWindow).has_value());
  struct Case {
    const char* what;
    std::string text;
  };
  const auto replace = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"other window only", replace("[main window]", "[editor]")},
      {"keys before any section", replace("[main window]\n", "")},
      {"value missing", replace("height=600\n", "")},
      {"not a number", replace("x=10", "x=ten")},
      {"trailing text", replace("width=800", "width=800px")},
      {"empty value", replace("y=20", "y=")},
      {"zero width", replace("width=800", "width=0")},
      {"negative height", replace("height=600", "height=-600")},
      {"beyond a desktop", replace("x=10", "x=40000")},
      {"number overflow", replace("y=20", "y=99999999999999999999")},
      {"flag not 0 or 1", replace("maximized=0", "maximized=yes")},
      {"binary garbage", std::string("\x00\xff[main window\n\x01=\x02", 18)},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(UiState::Parse(c.text).Geometry(kWindow).has_value()) << c.what;
  }
}

TEST(UiStateTest, MissingFileAFolderOrAnOversizedFileIsAnEmptyState) {
  TempDir dir;
  EXPECT_FALSE(UiState::Load(dir.File(kUiStateFileName)).Geometry(kWindow).has_value());
  EXPECT_FALSE(UiState::Load(dir.path()).Geometry(kWindow).has_value()) << "a folder";
  std::string huge = "[main window]\nx=1\ny=2\nwidth=3\nheight=4\n";
  huge.resize(1 << 20, '\n');
  dir.Write(kUiStateFileName, huge);
  EXPECT_FALSE(UiState::Load(dir.File(kUiStateFileName)).Geometry(kWindow).has_value())
      << "a megabyte is not a state file";
}

}  // namespace
}  // namespace tabrel
