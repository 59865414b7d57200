// The squares game of "Take a Break": opening, moves, refused moves, scores
// and its help text.
#include "game/squares_game.h"

#include <gtest/gtest.h>

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

struct RefusedMove {
  const char* why;
  std::vector<int> setup;  // hole first, then whole moves
  int from;
  int to;
};

TEST_F(SquaresGameTest, RefusedMovesSayNoGoodAndCancelTheSelection) {
  const RefusedMove cases[] = {
      {"target holds an X", {27}, 43, 35},
      {"not two apart", {27}, 30, 27},
      {"diagonal", {27}, 45, 27},
      {"one apart", {27}, 28, 27},
      {"jumped square is a hole", {27, 43, 27}, 51, 35},
      // Two apart in index, but round the end of a row: 24 is row 3, 22 row 2.
      {"across the end of a row", {22}, 24, 22},
      {"across the end of a row, rightwards", {33}, 31, 33},
  };
  for (const RefusedMove& c : cases) {
    SCOPED_TRACE(c.why);
    game.mu_new_Click();
    for (int square : c.setup) game.Button_Click(square);
    const auto before = view.squares;
    const int score = game.score();
    Click({c.from});
    ASSERT_EQ(view.prompt, "to...");
    Click({c.to});
    EXPECT_EQ(view.message, "no good");
    EXPECT_EQ(view.prompt, "from...");
    EXPECT_EQ(view.squares, before);
    EXPECT_EQ(game.score(), score);
    // The selection is gone: the next click picks a square again.
    Click({c.from});
    EXPECT_EQ(view.prompt, "to...");
    EXPECT_EQ(view.message, "");
  }
}

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
