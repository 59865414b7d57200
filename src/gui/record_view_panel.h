#pragma once

#include <QFrame>
#include <utility>
#include <vector>

#include "mainwin/main_view.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tabrel {
class MainWindow;
}

namespace tabrel::gui {

// The record view panel of the main window: this widget is the backdrop
// `background` over the record list area, and it holds the card `ViewFrame`
// with one record in full. The presenter shows and hides the two on their
// own; the buttons and the e-mail and web labels call its event procedures.
// Labels and buttons carry the control names as object names.
class RecordViewPanel : public QFrame {
  Q_OBJECT

 public:
  // `presenter` must outlive the panel.
  RecordViewPanel(MainWindow& presenter, QWidget* parent);

  QGroupBox* Frame() const { return frame_; }
  QPlainTextEdit* Notes() const { return notes_; }
  void Fill(const ViewPanelContent& content);
  void SetFrameVisible(bool visible);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* AddValue(const char* name);
  QLabel* AddCaption(const QString& text);
  QPushButton* AddButton(const QString& caption, const char* name, const QString& tooltip);
  QWidget* BuildHeader();
  QWidget* BuildDetails();
  QWidget* BuildButtons();

  MainWindow& presenter_;
  QGroupBox* frame_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
  QLabel* name_ = nullptr;
  QLabel* org_ = nullptr;
  QLabel* add1_ = nullptr;
  QLabel* add2_ = nullptr;
  QLabel* csz_ = nullptr;
  QLabel* phone_ = nullptr;
  QLabel* ext_ = nullptr;
  QLabel* fax_ = nullptr;
  QLabel* cellular_ = nullptr;
  QLabel* beeper_ = nullptr;
  QLabel* email_ = nullptr;
  QLabel* web_ = nullptr;
  QLabel* kw_[3] = {};
  QLabel* rec_type_ = nullptr;
  QLabel* rec_age_ = nullptr;
  // Captions beside values, greyed while their value is empty.
  QLabel* ext_caption_ = nullptr;
  std::vector<std::pair<QLabel*, QLabel*>> captioned_;
};

}  // namespace tabrel::gui
