#include "gui/help_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string>

#include "help/help_pages.h"
#include "help/help_topics.h"

namespace tabrel::gui {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kTopicRole = Qt::UserRole;

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

void HelpBrowser::keyPressEvent(QKeyEvent* event) {
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (tab && (event->modifiers() & Qt::ControlModifier)) {
    const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    // Past QTextBrowser, whose own moves among the links.
    QWidget::focusNextPrevChild(!back);
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::HtmlResource) {
    if (auto page = HelpPage(name.path().toStdString())) return Q(*page);
  }
  return {};
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(tr("Tabrel Help"));
  resize(900, 640);

  browser_ = new HelpBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpPage"));
  browser_->setAccessibleName(tr("Help page"));
  // Only the compiled-in pages are followed; nothing is fetched or opened.
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    if (link.scheme().isEmpty()) browser_->setSource(link);
  });
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkCurrentTopic);

  contents_ = new QTreeWidget(this);
  contents_->setObjectName(QStringLiteral("HelpContents"));
  contents_->setAccessibleName(tr("Contents"));
  contents_->setHeaderHidden(true);
  BuildContents();
  connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, kTopicRole).toString().toStdString());
  });
  connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, kTopicRole).toString().toStdString());
  });

  auto* tools = new QToolBar(this);
  QAction* back = tools->addAction(tr("< &Back"), browser_, &QTextBrowser::backward);
  back->setObjectName(QStringLiteral("HelpBack"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  QAction* forward = tools->addAction(tr("&Forward >"), browser_, &QTextBrowser::forward);
  forward->setObjectName(QStringLiteral("HelpForward"));
  forward->setShortcut(QKeySequence::Forward);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  QAction* home =
      tools->addAction(tr("&Contents"), this, [this] { ShowTopic(std::string(kHelpContentsId)); });
  home->setObjectName(QStringLiteral("HelpHome"));
  // Tool buttons take no mnemonic from their text; the letter is given.
  home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));
  tools->addSeparator();
  auto* find_label = new QLabel(tr("&Find:"), tools);
  find_ = new QLineEdit(tools);
  find_->setObjectName(QStringLiteral("HelpFind"));
  find_->setClearButtonEnabled(true);
  find_->setMaximumWidth(240);
  find_label->setBuddy(find_);
  tools->addWidget(find_label);
  tools->addWidget(find_);
  QAction* next = tools->addAction(tr("Next"), this, [this] { FindNext(false); });
  next->setShortcut(QKeySequence::FindNext);
  QAction* previous = tools->addAction(tr("Previous"), this, [this] { FindNext(true); });
  previous->setShortcut(QKeySequence::FindPrevious);
  auto* find_key = new QAction(this);
  find_key->setShortcut(QKeySequence::Find);
  connect(find_key, &QAction::triggered, this, [this] {
    find_->setFocus();
    find_->selectAll();
  });
  addAction(find_key);
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });

  auto* topics = new QWidget(this);
  auto* topics_layout = new QVBoxLayout(topics);
  topics_layout->setContentsMargins(0, 0, 0, 0);
  auto* topics_label = new QLabel(tr("&Topics:"), topics);
  topics_label->setBuddy(contents_);
  topics_layout->addWidget(topics_label);
  topics_layout->addWidget(contents_, 1);
  auto* split = new QSplitter(this);
  split->addWidget(topics);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);
  split->setSizes({260, 640});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(tools);
  layout->addWidget(split, 1);
}

void HelpWindow::BuildContents() {
  QTreeWidgetItem* page = nullptr;
  for (const HelpTopic& topic : HelpTopics()) {
    QTreeWidgetItem* item = nullptr;
    if (topic.anchor.empty() || page == nullptr) {
      item = new QTreeWidgetItem(contents_);
      page = item;
    } else {
      item = new QTreeWidgetItem(page);
    }
    item->setText(0, Q(topic.title));
    item->setData(0, kTopicRole, Q(topic.id));
  }
}

void HelpWindow::ShowTopic(const std::string& topic_id) {
  const HelpTopic* topic = FindHelpTopic(topic_id);
  if (topic == nullptr) topic = FindHelpTopic(kHelpContentsId);
  browser_->setSource(QUrl(Q(HelpTopicUrl(*topic))));
}

void HelpWindow::MarkCurrentTopic(const QUrl& url) {
  const std::string page = url.path().toStdString();
  const std::string anchor = url.fragment().toStdString();
  for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
    const HelpTopic* topic = FindHelpTopic((*it)->data(0, kTopicRole).toString().toStdString());
    if (topic != nullptr && topic->page == page && topic->anchor == anchor) {
      const QSignalBlocker quiet(contents_);
      contents_->setCurrentItem(*it);
      return;
    }
  }
}

bool HelpWindow::FindNext(bool backward) {
  const QString text = find_->text();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser_->find(text, flags)) return true;
  // Round the end of the page and try once more.
  QTextCursor cursor = browser_->textCursor();
  cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  browser_->setTextCursor(cursor);
  return browser_->find(text, flags);
}

}  // namespace tabrel::gui
