#pragma once

#include <QWidget>
#include <array>

#include "game/squares_game.h"

class QLabel;
class QMenuBar;
class QPushButton;

namespace tabrel::gui {

// The squares game's window "  48": 8 x 8 square buttons, the prompt and
// message, the last and best scores, and the menus "File" (New Game) and
// "Help". It belongs to the main window; closing it hides it and unloads
// the game, whose presenter (owned by the main window) keeps the scores.
class GameWidget : public QWidget, public GameView {
  Q_OBJECT

 public:
  GameWidget(SquaresGame& game, QWidget* owner);

  QPushButton* Square(int index) const { return squares_[static_cast<std::size_t>(index)]; }
  QLabel* Prompt() const { return prompt_; }
  QLabel* Message() const { return message_; }
  QLabel* LastScore() const { return last_; }
  QLabel* BestScore() const { return best_; }
  QMenuBar* Menus() const { return menus_; }

  // GameView
  void SetSquareText(int index, const std::string& text) override;
  void SetSquareVisible(int index, bool visible) override;
  void SetPrompt(const std::string& text) override;
  void SetMessage(const std::string& text) override;
  void SetLastScore(const std::string& text) override;
  void SetBestScore(const std::string& text) override;
  void ShowWindow() override;
  void CloseWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  SquaresGame& game_;
  std::array<QPushButton*, kSquareCount> squares_{};
  QLabel* prompt_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* last_ = nullptr;
  QLabel* best_ = nullptr;
  QMenuBar* menus_ = nullptr;
};

}  // namespace tabrel::gui
