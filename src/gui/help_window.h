#pragma once

#include <QTextBrowser>
#include <QWidget>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tabrel::gui {

// Shows the help pages compiled into the program; any other URL is empty.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  explicit HelpBrowser(QWidget* parent = nullptr);
  QVariant loadResource(int type, const QUrl& name) override;

 protected:
  // Tab moves among the page's links; Ctrl+Tab leaves the page.
  void keyPressEvent(QKeyEvent* event) override;
};

// The help window: the contents as a tree beside the page, links, Back and
// Forward, and Find in the page. It belongs to the main window (a window
// of its own that closes with it); closing it only hides it.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);

  // Shows the page#anchor of a topic id; the contents for an unknown id.
  void ShowTopic(const std::string& topic_id);
  HelpBrowser* Browser() const { return browser_; }
  QTreeWidget* Contents() const { return contents_; }
  QLineEdit* FindBox() const { return find_; }
  // Finds the find box's text in the page from the cursor on, wrapping
  // round; false when the page does not hold it.
  bool FindNext(bool backward = false);

 private:
  void BuildContents();
  void MarkCurrentTopic(const QUrl& url);

  HelpBrowser* browser_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* find_ = nullptr;
};

}  // namespace tabrel::gui
