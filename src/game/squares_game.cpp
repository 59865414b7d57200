#include "game/squares_game.h"

#include <algorithm>

namespace tabrel {

const std::string_view kGameHelpText =
    "How to play"
    "\r\n\r\nFirst click on any box  to be the starting point  - the X in it will disapear (you "
    "need an empty space to begin)."
    "\r\n\r\nAfter this first one,  X's are removed by jumping over them with another X."
    "\r\n\r\nClick on the X you wish to move, then click on an empty space two spaces away. The X "
    "you jumped over will be cleared, and the one you jumped it with moves to the new space."
    "\r\n\r\nYou can only move horizontal or vertical, no diagonal moves are allowed."
    "\r\n\r\nThe game is over when it is no longer possible to jump one X over another one."
    "\r\n\r\nTo try again, click File, New Game. The game records your last score and your best "
    "score,  just to frustrate you. :-)";

namespace {

constexpr std::string_view kFrom = "from...";
constexpr std::string_view kTo = "to...";
constexpr std::string_view kNoGood = "no good";
// The hidden corner squares still carry an X, as the count of a move expects.
constexpr int kCornerCount = 16;

}  // namespace

SquaresGame::SquaresGame(Dialogs& dialogs) : dialogs_(dialogs) {}

bool SquaresGame::IsCorner(int index) {
  const int row = index / 8;
  const int column = index % 8;
  return (row < 2 || row > 5) && (column < 2 || column > 5);
}

void SquaresGame::Open(GameView& view) {
  view_ = &view;
  if (!loaded_) Form_Load();
  view.ShowWindow();
}

void SquaresGame::Close() {
  if (view_ != nullptr && loaded_) view_->CloseWindow();
  loaded_ = false;
}

void SquaresGame::Form_Load() {
  loaded_ = true;
  first_click_ = true;
  selection_ = 0;
  view_->SetPrompt("");
  view_->SetMessage("");
  view_->SetLastScore(last_text_);
  view_->SetBestScore(best_text_);
  Initialize();
}

void SquaresGame::Initialize() {
  for (int i = 0; i < kSquareCount; ++i) {
    SetSquare(i, true);
    view_->SetSquareVisible(i, !IsCorner(i));
  }
}

void SquaresGame::SetSquare(int index, bool x) {
  x_[static_cast<std::size_t>(index)] = x;
  view_->SetSquareText(index, x ? "X" : "");
}

void SquaresGame::Button_Click(int index) {
  if (!loaded_ || index < 0 || index >= kSquareCount || IsCorner(index)) return;
  if (first_click_) {
    SetSquare(index, false);
    first_click_ = false;
    view_->SetPrompt(std::string(kFrom));
    return;
  }
  view_->SetMessage("");
  Evaluate(index);
  view_->SetPrompt(std::string(selection_ == 0 ? kFrom : kTo));
}

void SquaresGame::Evaluate(int index) {
  const int p = index + 1;
  if (selection_ > 0 && HoldsX(index)) return Refuse();
  if (selection_ == 0) {
    // The square a move starts from must hold the X that moves.
    if (!HoldsX(index)) return Refuse();
    selection_ = p;
    return;
  }
  const int from = selection_;
  const bool same_row = (from - 1) / 8 == index / 8;
  int jumped = -1;
  if (p == from + 16) {
    jumped = from + 7;
  } else if (p == from - 16) {
    jumped = from - 9;
  } else if (p == from + 2 && same_row) {
    jumped = from;
  } else if (p == from - 2 && same_row) {
    jumped = from - 2;
  }
  // Two apart in one row or one column, over an X; a jump of two must not
  // wrap round the end of a row.
  if (jumped < 0 || !HoldsX(jumped)) return Refuse();
  SetSquare(jumped, false);
  SetSquare(from - 1, false);
  SetSquare(index, true);
  score_ = static_cast<int>(std::count(x_.begin(), x_.end(), true)) - kCornerCount;
  view_->SetMessage("");
  selection_ = 0;
}

void SquaresGame::Refuse() {
  selection_ = 0;
  view_->SetMessage(std::string(kNoGood));
}

void SquaresGame::mu_new_Click() {
  if (!loaded_) return;
  first_click_ = true;
  last_text_ = std::to_string(score_);
  if (best_ == 0 || score_ < best_) best_ = score_;
  best_text_ = std::to_string(best_);
  view_->SetLastScore(last_text_);
  view_->SetBestScore(best_text_);
  // A fresh board: no prompt until the opening hole, no leftover "no good".
  view_->SetPrompt("");
  view_->SetMessage("");
  selection_ = 0;
  Initialize();
}

void SquaresGame::mu_GameHelp_Click() {
  dialogs_.Show({std::string(kGameHelpText),
                 std::string(kGameHelpTitle),
                 MessageIcon::kInformation,
                 MessageButtons::kOk,
                 {}});
}

}  // namespace tabrel
