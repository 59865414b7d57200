// A window's place between runs, through a plain widget under the offscreen
// platform (one screen): where it opens from what the UI-state file holds,
// and what its close leaves in the file.
#include "gui/window_geometry_keeper.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <optional>

#include "fakes/temp_dir.h"
#include "store/ui_state.h"

namespace tabrel::gui {
namespace {

constexpr char kWindow[] = "main window";

TEST(WindowGeometryKeeperTest, OpensWhereTheFileSaysWhenItFitsAndWritesOnlyAMovedPlace) {
  struct Case {
    const char* what;
    const char* file;                        // as written by hand, CR LF and all; empty: no file
    std::optional<QPoint> opens_at;          // none: where the window manager puts it
    QSize opens_size;                        // empty: the screen's
    std::optional<WindowGeometry> moved_to;  // none: closed as it opened
  };
  const Case cases[] = {
      {"first run", "", std::nullopt, QSize(640, 480), WindowGeometry{40, 30, 700, 500}},
      {"back where it was closed", "[main window]\r\nx=60\r\ny=50\r\nwidth=500\r\nheight=400\r\n",
       QPoint(60, 50), QSize(500, 400), std::nullopt},
      {"closed on a screen since unplugged",
       "[main window]\r\nx=5000\r\ny=50\r\nwidth=500\r\nheight=400\r\n", std::nullopt,
       QSize(500, 400), WindowGeometry{10, 20, 300, 200}},
      {"larger than the screen", "[main window]\r\nx=0\r\ny=0\r\nwidth=3000\r\nheight=2000\r\n",
       QPoint(0, 0), QSize(), WindowGeometry{0, 0, 400, 300}},
  };
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    if (*c.file != '\0') dir.Write(kUiStateFileName, c.file);
    {
      QWidget window;
      WindowGeometryKeeper keeper(window, dir.File(kUiStateFileName), kWindow, QSize(640, 480));
      keeper.Show();
      EXPECT_EQ(window.size(), c.opens_size.isEmpty() ? screen : c.opens_size);
      if (c.opens_at) EXPECT_EQ(window.pos(), *c.opens_at);
      if (!c.opens_at) EXPECT_NE(window.pos().x(), 5000);
      if (c.moved_to) {
        window.move(c.moved_to->x, c.moved_to->y);
        window.resize(c.moved_to->width, c.moved_to->height);
      }
      window.close();
    }
    if (c.moved_to) {
      EXPECT_EQ(UiState::Load(dir.File(kUiStateFileName)).Geometry(kWindow), c.moved_to);
    } else {
      EXPECT_EQ(dir.Read(kUiStateFileName), c.file) << "not written again";
    }
  }
}

}  // namespace
}  // namespace tabrel::gui
