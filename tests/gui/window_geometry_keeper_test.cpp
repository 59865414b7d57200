// The main window's place between runs, through a plain widget under the
// offscreen platform: a first run opens at the default size, a closed
// window's place comes back in the next run, and a damaged file or a place
// off every screen falls back to what the window manager chooses.
#include "gui/window_geometry_keeper.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "fakes/temp_dir.h"
#include "store/ui_state.h"

namespace tabrel::gui {
namespace {

using testing::TempDir;

constexpr char kWindow[] = "main window";
const QSize kDefault(640, 480);

// One run of the program: a window opened by its keeper, closed at the end.
struct ProgramRun {
  explicit ProgramRun(const std::string& file) : keeper(window, file, kWindow, kDefault) {
    keeper.Show();
  }
  ~ProgramRun() { window.close(); }

  QWidget window;
  WindowGeometryKeeper keeper;
};

TEST(WindowGeometryKeeperTest, FirstRunOpensAtTheDefaultSizeAndWritesItsPlaceOnClose) {
  TempDir dir;
  const std::string file = dir.File(kUiStateFileName);
  {
    ProgramRun run(file);
    EXPECT_EQ(run.window.size(), kDefault);
    EXPECT_FALSE(dir.Exists(kUiStateFileName)) << "nothing is written before the close";
    run.window.move(40, 30);
    run.window.resize(700, 500);
  }
  EXPECT_EQ(UiState::Load(file).Geometry(kWindow), (WindowGeometry{40, 30, 700, 500, false}));
}

}  // namespace
}  // namespace tabrel::gui
