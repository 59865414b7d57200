#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace tabrel {

inline constexpr std::string_view kGameCaption = "  48";
inline constexpr int kSquareCount = 64;  // 8 x 8; the 2 x 2 corners stay hidden
inline constexpr std::string_view kNoScore = "(none)";
inline constexpr std::string_view kGameHelpTitle = "48 Squares Game - Tabrel 3";
extern const std::string_view kGameHelpText;

// What the game asks of its window. Square i is in row i / 8 (0 at the
// top) and column i % 8. Texts are UTF-8.
class GameView {
 public:
  virtual ~GameView() = default;
  // "X" (bold) or "" for a hole.
  virtual void SetSquareText(int index, const std::string& text) = 0;
  virtual void SetSquareVisible(int index, bool visible) = 0;
  // "from..." or "to...".
  virtual void SetPrompt(const std::string& text) = 0;
  // "no good" or "".
  virtual void SetMessage(const std::string& text) = 0;
  virtual void SetLastScore(const std::string& text) = 0;
  virtual void SetBestScore(const std::string& text) = 0;
  // Shows the window and brings it forward.
  virtual void ShowWindow() = 0;
  // Closes the window; it calls Form_Unload.
  virtual void CloseWindow() = 0;
};

// The squares game of "Take a Break": 48 squares holding an X, one emptied
// by the first click, then X's jumped over and removed. The scores of the
// last and the best game last as long as the program runs (this object is
// owned by the main window); nothing is stored on disk.
class SquaresGame {
 public:
  explicit SquaresGame(Dialogs& dialogs);

  // "Take a Break": loads the game into `view` unless it is loaded, and
  // shows it.
  void Open(GameView& view);
  // The main window closes: so does the game's.
  void Close();

  void Form_Load();
  // The game's window was closed.
  void Form_Unload() { loaded_ = false; }
  // The player clicked square `index`.
  void Button_Click(int index);
  // "File", "New Game".
  void mu_new_Click();
  // "Help".
  void mu_GameHelp_Click();

  bool loaded() const { return loaded_; }
  bool HoldsX(int index) const { return x_[static_cast<std::size_t>(index)]; }
  int score() const { return score_; }
  int best() const { return best_; }

  static bool IsCorner(int index);

 private:
  void Initialize();
  void Evaluate(int index);
  void Refuse();
  void SetSquare(int index, bool x);

  Dialogs& dialogs_;
  GameView* view_ = nullptr;
  bool loaded_ = false;
  std::array<bool, kSquareCount> x_{};
  bool first_click_ = true;  // the next click makes the opening hole
  int selection_ = 0;        // selected square + 1, 0 for none
  int score_ = 0;            // X's left after the last move
  int best_ = 0;             // 0: none yet
  std::string last_text_{kNoScore};
  std::string best_text_{kNoScore};
};

}  // namespace tabrel
