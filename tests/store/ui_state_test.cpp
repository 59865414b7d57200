#include "store/ui_state.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/case_file.h"
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

using UiStateFileTest = testing::FileCaseTest;

TEST_P(UiStateFileTest, ReadsTheGeometryOrNoneFromADamagedFile) {
  const auto geometry = UiState::Parse(GetParam().Get("text")).Geometry(kWindow);
  std::string read = "none";
  if (geometry) {
    read = std::to_string(geometry->x) + " " + std::to_string(geometry->y) + " " +
           std::to_string(geometry->width) + " " + std::to_string(geometry->height) + " " +
           (geometry->maximized ? "1" : "0");
  }
  EXPECT_EQ(read, GetParam().Get("geometry"));
}

TABREL_FILE_CASES(Files, UiStateFileTest, "store", "ui_state.cases");

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
