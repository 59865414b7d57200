#pragma once

#include <array>
#include <string>

#include "game/squares_game.h"

namespace tabrel::testing {

// The game's window as the presenter left it.
class FakeGameView : public GameView {
 public:
  void SetSquareText(int index, const std::string& text) override {
    squares[static_cast<std::size_t>(index)] = text;
  }
  void SetSquareVisible(int index, bool visible) override {
    shown[static_cast<std::size_t>(index)] = visible;
  }
  void SetPrompt(const std::string& text) override { prompt = text; }
  void SetMessage(const std::string& text) override { message = text; }
  void SetLastScore(const std::string& text) override { last = text; }
  void SetBestScore(const std::string& text) override { best = text; }
  void ShowWindow() override { visible = true; }
  void CloseWindow() override {
    visible = false;
    if (game != nullptr) game->Form_Unload();
  }

  SquaresGame* game = nullptr;  // told when the window closes, as the real one is
  std::array<std::string, kSquareCount> squares;
  std::array<bool, kSquareCount> shown{};
  std::string prompt = "?";
  std::string message = "?";
  std::string last;
  std::string best;
  bool visible = false;
};

}  // namespace tabrel::testing
