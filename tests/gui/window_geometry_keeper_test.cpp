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

TEST(WindowGeometryKeeperTest, NextRunOpensWhereTheLastOneClosed) {
  TempDir dir;
  const std::string file = dir.File(kUiStateFileName);
  {
    ProgramRun run(file);
    run.window.move(60, 70);
    run.window.resize(500, 400);
  }
  ProgramRun next(file);
  EXPECT_EQ(next.window.pos(), QPoint(60, 70));
  EXPECT_EQ(next.window.size(), QSize(500, 400));
}

TEST(WindowGeometryKeeperTest, DamagedFileOrAPlaceOffEveryScreenFallsBack) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const int beyond = screen.right() + 1000;
  struct Case {
    const char* what;
    std::string text;
    QSize size;
  };
  const Case cases[] = {
      {"damaged", "[main window]\nx=10\ny=oops\nwidth=500\nheight=400\n", kDefault},
      {"off every screen",
       "[main window]\nx=" + std::to_string(beyond) + "\ny=10\nwidth=500\nheight=400\n",
       QSize(500, 400)},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write(kUiStateFileName, c.text);
    ProgramRun run(dir.File(kUiStateFileName));
    EXPECT_EQ(run.window.size(), c.size) << c.what;
    EXPECT_LT(run.window.pos().x(), screen.right()) << c.what;
  }
}

TEST(WindowGeometryKeeperTest, OtherWindowsInTheFileAreKept) {
  TempDir dir;
  dir.Write(kUiStateFileName, "[editor]\nx=1\ny=2\nwidth=300\nheight=200\n");
  { ProgramRun run(dir.File(kUiStateFileName)); }
  const UiState state = UiState::Load(dir.File(kUiStateFileName));
  EXPECT_EQ(state.Geometry("editor"), (WindowGeometry{1, 2, 300, 200, false}));
  EXPECT_TRUE(state.Geometry(kWindow).has_value());
}

}  // namespace
}  // namespace tabrel::gui
