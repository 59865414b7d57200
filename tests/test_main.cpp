// Runs every test; with the GUI built, a QApplication exists for the widget tests.
#include <gtest/gtest.h>

#ifdef TABREL_WITH_GUI
#include <QApplication>
#include <cstdlib>
#endif

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#ifdef TABREL_WITH_GUI
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
#endif
  return RUN_ALL_TESTS();
}
