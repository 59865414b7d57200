#include "gui/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace tabrel::gui {
namespace {

QString FromUtf8(const std::string& text) {
  QString out = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return out;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kOk:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton ToQtButton(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::kCancel:
      return QMessageBox::Cancel;
    case MessageAnswer::kYes:
      return QMessageBox::Yes;
    case MessageAnswer::kNo:
      return QMessageBox::No;
    case MessageAnswer::kOk:
      break;
  }
  return QMessageBox::Ok;
}

// The answer a box gives when it is closed without a button: Cancel or No
// where offered, as the Esc key does.
MessageAnswer EscapeAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel:
    case MessageButtons::kYesNoCancel:
      return MessageAnswer::kCancel;
    case MessageButtons::kYesNo:
      return MessageAnswer::kNo;
    case MessageButtons::kOk:
      break;
  }
  return MessageAnswer::kOk;
}

}  // namespace

MessageAnswer QtDialogs::Show(const Message& message) {
  QMessageBox box(ToQtIcon(message.icon), FromUtf8(message.title), FromUtf8(message.text),
                  ToQtButtons(message.buttons), QApplication::activeWindow());
  if (message.default_answer) {
    box.setDefaultButton(ToQtButton(*message.default_answer));
  } else {
    // The first button of the set, wherever the platform's order draws it.
    switch (message.buttons) {
      case MessageButtons::kOk:
      case MessageButtons::kOkCancel:
        box.setDefaultButton(QMessageBox::Ok);
        break;
      case MessageButtons::kYesNo:
      case MessageButtons::kYesNoCancel:
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
  }
  if (!message.yes_text.empty()) box.button(QMessageBox::Yes)->setText(FromUtf8(message.yes_text));
  if (!message.no_text.empty()) box.button(QMessageBox::No)->setText(FromUtf8(message.no_text));
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return MessageAnswer::kOk;
    case QMessageBox::Cancel:
      return MessageAnswer::kCancel;
    case QMessageBox::Yes:
      return MessageAnswer::kYes;
    case QMessageBox::No:
      return MessageAnswer::kNo;
    default:
      return EscapeAnswer(message.buttons);
  }
}

std::optional<std::string> QtDialogs::Input(const std::string& prompt, const std::string& title,
                                            const std::string& default_answer) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(QApplication::activeWindow(), FromUtf8(title), FromUtf8(prompt),
                            QLineEdit::Normal, FromUtf8(default_answer), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> QtDialogs::Password(const std::string& prompt,
                                               const std::string& title) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), FromUtf8(title),
                                             FromUtf8(prompt), QLineEdit::Password, {}, &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

}  // namespace tabrel::gui
