#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/printer.h"

class QPainter;
class QPrinter;
class QWidget;

namespace tabrel::gui {

// The default printer through QPrinter and QPainter. Without an installed
// printer (or with Target::kPdfFile) every document becomes one PDF file,
// all its pages in order, in the folder "printouts" of the program folder,
// named by the time it was started: printouts/tabrel-2026-12-06-213045.pdf,
// with "-2", "-3" ... added when the name is taken. EndDoc then reports Ok
// and the PDF notice (below) tells the user where the file went.
//
// Layout, all in twips from the top left of the printable area:
// - a line is as high as the font's line spacing; a line that would end
//   below the printable area goes to the top of a new page, so nothing
//   is cut off;
// - a line break inside a printed text (CR LF, LF or CR) starts a new line
//   at the same horizontal position, and TextWidth measures such a text
//   by its widest line: PrintWrapped hands whole address blocks over;
// - tab stops lie every 8 average character widths of the current font,
//   counted from the left edge of the printable area;
// - the envelope setting prints the document in landscape.
//
// A failure anywhere in a document (the print job cannot start, the folder
// or the file cannot be written) drops the rest of the document and is
// reported by EndDoc, with what failed and where.
class QtPrinter : public Printer {
 public:
  enum class Target { kDefaultPrinter, kPdfFile };

  // `program_folder` is AppState's program folder.
  explicit QtPrinter(std::string program_folder, Target target = Target::kDefaultPrinter);
  ~QtPrinter() override;
  QtPrinter(const QtPrinter&) = delete;
  QtPrinter& operator=(const QtPrinter&) = delete;

  // Called with a short UTF-8 text (where the PDF file went) once per user
  // command that wrote one: queued until the command has returned to the
  // event loop and the questions it asked on the way are answered. Without
  // a notice the files are only kept, and LastPdfPath() names the latest.
  void SetPdfNotice(std::function<void(const std::string&)> notice);
  // The file the last document went to; empty if none went to a PDF file.
  const QString& LastPdfPath() const { return last_pdf_; }

  void SetFont(const std::string& name, bool bold, int points) override;
  void PrintLine(const std::string& text) override;
  void SetPosition(int x, int y) override;
  int CurrentX() const override { return x_; }
  int CurrentY() const override { return y_; }
  int TextWidth(const std::string& text) override;
  int PageWidth() const override;
  void SetEnvelopeSetting() override;
  void NewPage() override;
  Status FitLinesPerPage(int lines) override;
  Status EndDoc() override;

 private:
  QPrinter& Device() const;
  bool BeginPainting();
  void DrawLine(const QString& line, int left);
  QString ReservePdfFile();
  void Fail(Status status);
  double PixelsPerTwip() const;
  void QueueNotice();
  void DeliverNotice();

  std::string program_folder_;
  Target target_;
  QFont font_;
  // From FitLinesPerPage: the factor on every font size, and the distance
  // of lines in device pixels (0: each font's own line spacing).
  double font_scale_ = 1.0;
  double line_pitch_ = 0;
  int x_ = 0;
  int y_ = 0;
  bool envelope_ = false;
  // The open document: created by the first call that needs the page.
  mutable std::unique_ptr<QPrinter> device_;
  std::unique_ptr<QPainter> painter_;
  QString pdf_path_;  // of the open document when it goes to a file
  std::optional<Status> failure_;
  QString last_pdf_;
  QStringList unannounced_;
  std::function<void(const std::string&)> notice_;
  bool notice_queued_ = false;
  // The modal dialog that was up when the command printed, if any.
  QPointer<QWidget> notice_modal_;
  // Owns the queued notice's timers, so none fires after the printer is gone.
  QObject notice_context_;
};

}  // namespace tabrel::gui
