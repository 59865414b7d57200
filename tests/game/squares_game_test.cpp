// The squares game of "Take a Break": opening, moves, refused moves, scores
// and its help text.
#include "game/squares_game.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/case_file.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_game_view.h"

namespace tabrel {
namespace {

class SquaresGameTest : public ::testing::Test {
 protected:
  SquaresGameTest() {
    view.game = &game;
    game.Open(view);
  }

  // Clicks squares by index; the first click of a game makes the hole.
  void Click(std::initializer_list<int> squares) {
    for (int square : squares) game.Button_Click(square);
  }
  int VisibleXs() const {
    int n = 0;
    for (int i = 0; i < kSquareCount; ++i) n += view.shown[i] && view.squares[i] == "X";
    return n;
  }

  testing::FakeDialogs dialogs;
  SquaresGame game{dialogs};
  testing::FakeGameView view;
};

TEST_F(SquaresGameTest, OpensWith48XsAndTheCornersHidden) {
  EXPECT_TRUE(view.visible);
  const std::set<int> corners = {0, 1, 6, 7, 8, 9, 14, 15, 48, 49, 54, 55, 56, 57, 62, 63};
  for (int i = 0; i < kSquareCount; ++i) {
    EXPECT_EQ(view.shown[i], !corners.contains(i)) << i;
    EXPECT_EQ(view.squares[i], "X") << i;
  }
  EXPECT_EQ(VisibleXs(), 48);
  EXPECT_EQ(view.prompt, "");
  EXPECT_EQ(view.message, "");
  EXPECT_EQ(view.last, "(none)");
  EXPECT_EQ(view.best, "(none)");
}

TEST_F(SquaresGameTest, AMoveJumpsAnXAndCountsWhatIsLeft) {
  Click({27, 43});  // hole at row 3 column 3; pick the X two rows below
  EXPECT_EQ(view.prompt, "to...");
  Click({27});
  EXPECT_EQ(view.squares[43], "");
  EXPECT_EQ(view.squares[35], "");  // jumped
  EXPECT_EQ(view.squares[27], "X");
  EXPECT_EQ(view.prompt, "from...");
  EXPECT_EQ(view.message, "");
  EXPECT_EQ(game.score(), 46);
  // Sideways, right: from 33 over 34 into the hole at 35.
  Click({33, 35});
  EXPECT_EQ(view.squares[33], "");
  EXPECT_EQ(view.squares[34], "");
  EXPECT_EQ(view.squares[35], "X");
  EXPECT_EQ(game.score(), 45);
}

class SquaresMoveTest : public SquaresGameTest,
                        public ::testing::WithParamInterface<testing::FileCase> {};

TEST_P(SquaresMoveTest, RefusedMovesSayNoGoodAndCancelTheSelection) {
  std::istringstream setup(GetParam().Get("setup")), move(GetParam().Get("move"));
  for (int square; setup >> square;) game.Button_Click(square);
  int from = 0, to = 0;
  move >> from >> to;
  const auto before = view.squares;
  const int score = game.score();
  Click({from});
  ASSERT_EQ(view.prompt, "to...");
  Click({to});
  EXPECT_EQ(view.message, "no good");
  EXPECT_EQ(view.prompt, "from...");
  EXPECT_EQ(view.squares, before);
  EXPECT_EQ(game.score(), score);
  // The selection is gone: the next click picks a square again.
  Click({from});
  EXPECT_EQ(view.prompt, "to...");
  EXPECT_EQ(view.message, "");
}

TABREL_FILE_CASES(Moves, SquaresMoveTest, "game", "refused_moves.cases");

TEST_F(SquaresGameTest, NewGameRecordsTheLastAndTheBestScore) {
  game.mu_new_Click();  // straight away: no move yet
  EXPECT_EQ(view.last, "0");
  EXPECT_EQ(view.best, "0");
  Click({27, 43, 27});
  game.mu_new_Click();
  EXPECT_EQ(view.last, "46");
  EXPECT_EQ(view.best, "46");  // a best of 0 means none yet
  EXPECT_EQ(VisibleXs(), 48);
  EXPECT_EQ(view.prompt, "");
  // Without a move in between the same score is recorded again.
  game.mu_new_Click();
  EXPECT_EQ(view.last, "46");
  Click({27, 43, 27, 33, 35});
  game.mu_new_Click();
  EXPECT_EQ(view.last, "45");
  EXPECT_EQ(view.best, "45");
  Click({20, 36, 20});
  game.mu_new_Click();
  EXPECT_EQ(view.last, "46");
  EXPECT_EQ(view.best, "45");
}

}  // namespace
}  // namespace tabrel
