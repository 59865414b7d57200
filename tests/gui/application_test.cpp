// The application's names: window titles must stay the program's own words.
#include "gui/application.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace tabrel::gui {
namespace {

TEST(ApplicationTest, NoDisplayNameIsAppendedToWindowTitles) {
  ConfigureApplication();
  EXPECT_EQ(QGuiApplication::applicationName(), QStringLiteral("tabrel"));
  // Without a display name of its own, Qt falls back to the application
  // name and appends nothing to titles.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
}

}  // namespace
}  // namespace tabrel::gui
