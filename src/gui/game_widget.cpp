#include "gui/game_widget.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabrel::gui {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// 375 twips squares at a pitch of 480 twips, at 15 twips a pixel.
constexpr int kSquareSide = 25;
constexpr int kSquareGap = 32 - kSquareSide;

}  // namespace

GameWidget::GameWidget(SquaresGame& game, QWidget* owner)
    : QWidget(owner, Qt::Window), game_(game) {
  setObjectName(QStringLiteral("TRGame"));
  setWindowTitle(Q(kGameCaption));

  menus_ = new QMenuBar(this);
  QMenu* file = menus_->addMenu(tr("&File"));
  QAction* new_game = file->addAction(tr("New Game"), this, [this] { game_.mu_new_Click(); });
  new_game->setObjectName(QStringLiteral("mu_new"));
  QAction* help = menus_->addAction(tr("&Help"), this, [this] { game_.mu_GameHelp_Click(); });
  help->setObjectName(QStringLiteral("mu_GameHelp"));

  auto* board = new QGridLayout;
  board->setSpacing(kSquareGap);
  QFont bold = font();
  bold.setBold(true);
  for (int i = 0; i < kSquareCount; ++i) {
    auto* square = new QPushButton(this);
    square->setObjectName(QStringLiteral("Button_%1").arg(i));
    square->setFixedSize(kSquareSide, kSquareSide);
    square->setFont(bold);
    // A hidden corner keeps its place, so the board keeps its cross shape.
    QSizePolicy keep = square->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    square->setSizePolicy(keep);
    connect(square, &QPushButton::clicked, this, [this, i] { game_.Button_Click(i); });
    board->addWidget(square, i / 8, i % 8);
    squares_[static_cast<std::size_t>(i)] = square;
  }

  prompt_ = new QLabel(this);
  prompt_->setObjectName(QStringLiteral("Label2"));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("Label3"));
  QPalette warning = message_->palette();
  warning.setColor(QPalette::WindowText, Qt::red);
  message_->setPalette(warning);
  last_ = new QLabel(Q(kNoScore), this);
  last_->setObjectName(QStringLiteral("last"));
  best_ = new QLabel(Q(kNoScore), this);
  best_->setObjectName(QStringLiteral("best"));
  auto* last_label = new QLabel(tr("last game"), this);
  last_label->setObjectName(QStringLiteral("lastlab"));
  auto* best_label = new QLabel(tr("best game"), this);
  best_label->setObjectName(QStringLiteral("bestlab"));

  auto* side = new QGridLayout;
  side->addWidget(prompt_, 0, 0, 1, 2);
  side->addWidget(message_, 1, 0, 1, 2);
  side->setRowStretch(2, 1);
  side->addWidget(last_label, 3, 0);
  side->addWidget(last_, 3, 1);
  side->addWidget(best_label, 4, 0);
  side->addWidget(best_, 4, 1);
  side->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QStringLiteral("(none)")) + 8);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(16, 16, 16, 16);
  row->setSpacing(24);
  row->addLayout(board);
  row->addLayout(side);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setMenuBar(menus_);
  outer->addLayout(row);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

void GameWidget::SetSquareText(int index, const std::string& text) {
  Square(index)->setText(Q(text));
}

void GameWidget::SetSquareVisible(int index, bool visible) {
  Square(index)->setVisible(visible);
}

void GameWidget::SetPrompt(const std::string& text) {
  prompt_->setText(Q(text));
}

void GameWidget::SetMessage(const std::string& text) {
  message_->setText(Q(text));
}

void GameWidget::SetLastScore(const std::string& text) {
  last_->setText(Q(text));
}

void GameWidget::SetBestScore(const std::string& text) {
  best_->setText(Q(text));
}

void GameWidget::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void GameWidget::CloseWindow() {
  close();
}

void GameWidget::closeEvent(QCloseEvent* event) {
  game_.Form_Unload();
  event->accept();
}

}  // namespace tabrel::gui
