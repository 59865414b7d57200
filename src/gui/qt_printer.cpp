#include "gui/qt_printer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "base/codec.h"

namespace tabrel::gui {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kTabStopChars = 8;
constexpr int kDefaultPoints = 10;
// The smallest print still easy to read; FitLinesPerPage goes no smaller.
constexpr double kSmallestPoints = 6.0;
// Files a notice names one by one; more are summed up.
constexpr int kNoticeFileList = 4;
constexpr int kNoticeRetryMs = 250;

QString FromCp1252(const std::string& bytes) {
  const std::string utf8 = DecodeCp1252(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The lines of a text that holds line breaks (CR LF, or a lone LF or CR).
QStringList Lines(const std::string& bytes) {
  QString text = FromCp1252(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text.split(QLatin1Char('\n'));
}

std::string Native(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

// Metric-compatible faces first, so that measured widths stay close to
// what the names promise on a system without the Windows fonts.
void AddFontSubstitutes() {
  if (QFont::substitutes(QStringLiteral("Arial")).isEmpty()) {
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
  }
  if (QFont::substitutes(QStringLiteral("Courier New")).isEmpty()) {
    QFont::insertSubstitutions(
        QStringLiteral("Courier New"),
        {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
         QStringLiteral("Nimbus Mono PS"), QStringLiteral("DejaVu Sans Mono")});
  }
}

}  // namespace

QtPrinter::QtPrinter(std::string program_folder, Target target)
    : program_folder_(std::move(program_folder)), target_(target) {
  AddFontSubstitutes();
  SetFont("Arial", false, kDefaultPoints);
}

QtPrinter::~QtPrinter() {
  // A document never ended is dropped, as a spooler drops an unfinished job.
  if (painter_) painter_->end();
  painter_.reset();
  if (!pdf_path_.isEmpty()) QFile::remove(pdf_path_);
}

void QtPrinter::SetPdfNotice(std::function<void(const std::string&)> notice) {
  notice_ = std::move(notice);
}

QPrinter& QtPrinter::Device() const {
  if (device_) return *device_;
  const QPrinterInfo info =
      target_ == Target::kDefaultPrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  if (info.isNull()) {
    device_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device_->setOutputFormat(QPrinter::PdfFormat);
  } else {
    device_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }
  device_->setDocName(QStringLiteral("Tabrel"));
  device_->setCreator(QStringLiteral("Tabrel"));
  if (envelope_) device_->setPageOrientation(QPageLayout::Landscape);
  return *device_;
}

double QtPrinter::PixelsPerTwip() const {
  return Device().resolution() / kTwipsPerInch;
}

void QtPrinter::Fail(Status status) {
  if (!failure_) failure_ = std::move(status);
}

QString QtPrinter::ReservePdfFile() {
  const QString folder =
      QDir(QFile::decodeName(program_folder_.c_str())).filePath(QStringLiteral("printouts"));
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
    Fail(Status::Error(error_number::kPathFileAccess,
                       "The folder for PDF printouts, " + Native(folder) + ", cannot be created."));
    return {};
  }
  const QString stem = folder + QStringLiteral("/tabrel-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
  for (int n = 1; n < 1000; ++n) {
    const QString path =
        n == 1 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(n);
    // Creating the file claims the name; QPrinter then writes over it.
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
    if (file.exists()) continue;
    Fail(Status::Error(error_number::kPathFileAccess,
                       "The PDF printout " + Native(path) +
                           " cannot be written: " + file.errorString().toStdString() + "."));
    return {};
  }
  Fail(Status::Error(error_number::kPathFileAccess,
                     "Too many printouts in " + Native(folder) + " this second."));
  return {};
}

bool QtPrinter::BeginPainting() {
  if (painter_) return true;
  if (failure_) return false;
  QPrinter& device = Device();
  if (device.outputFormat() == QPrinter::PdfFormat) {
    pdf_path_ = ReservePdfFile();
    if (pdf_path_.isEmpty()) return false;
    device.setOutputFileName(pdf_path_);
  }
  painter_ = std::make_unique<QPainter>();
  if (painter_->begin(&device)) return true;
  painter_.reset();
  if (pdf_path_.isEmpty()) {
    Fail(Status::Error(error_number::kDeviceIo, "The printer \"" +
                                                    device.printerName().toStdString() +
                                                    "\" did not accept the print job."));
  } else {
    Fail(Status::Error(error_number::kPathFileAccess,
                       "The PDF printout " + Native(pdf_path_) + " cannot be written."));
  }
  return false;
}

void QtPrinter::SetFont(const std::string& name, bool bold, int points) {
  const QString family = QString::fromStdString(name);
  QFont font(family);
  if (family.contains(QStringLiteral("courier"), Qt::CaseInsensitive)) {
    font.setFamily(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else if (family.compare(QStringLiteral("arial"), Qt::CaseInsensitive) == 0) {
    font.setFamily(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
  }
  font.setBold(bold);
  font.setPointSizeF((points > 0 ? points : kDefaultPoints) * font_scale_);
  font_ = font;
}

Status QtPrinter::FitLinesPerPage(int lines) {
  font_scale_ = 1.0;
  line_pitch_ = 0;
  if (lines < 1) return Status::Ok();
  QPrinter& device = Device();
  const double page = device.pageLayout().paintRectPixels(device.resolution()).height();
  // Positions are kept in whole twips: each line may gain half of one.
  const double pitch = page / lines - PixelsPerTwip();
  const double natural = QFontMetricsF(font_, &device).lineSpacing();
  if (natural <= pitch) {
    line_pitch_ = natural;
    return Status::Ok();
  }
  const double scale = pitch / natural;
  if (font_.pointSizeF() * scale < kSmallestPoints) {
    const int fitting = static_cast<int>(page / (natural * kSmallestPoints / font_.pointSizeF()));
    return Status::Error(error_number::kDeviceIo,
                         std::to_string(lines) +
                             " lines do not fit one printed page in a readable size; at most " +
                             std::to_string(fitting) + " do.");
  }
  font_scale_ = scale;
  line_pitch_ = pitch;
  font_.setPointSizeF(font_.pointSizeF() * scale);
  return Status::Ok();
}

void QtPrinter::PrintLine(const std::string& text) {
  const int left = x_;
  for (const QString& line : Lines(text)) DrawLine(line, left);
  x_ = 0;
}

void QtPrinter::DrawLine(const QString& line, int left) {
  QPrinter& device = Device();
  const double per_twip = PixelsPerTwip();
  const QFontMetricsF metrics(font_, &device);
  const double height = line_pitch_ > 0 ? line_pitch_ : metrics.lineSpacing();
  if (BeginPainting()) {
    double top = y_ * per_twip;
    const double page_height = device.pageLayout().paintRectPixels(device.resolution()).height();
    if (top > 0 && top + height > page_height) {
      if (!device.newPage()) {
        Fail(Status::Error(error_number::kDeviceIo, "The printer could not start a new page."));
      }
      y_ = 0;
      top = 0;
    }
    painter_->setFont(font_);
    const double tab = kTabStopChars * metrics.averageCharWidth();
    double x = left * per_twip;
    const QStringList pieces = line.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
      if (i > 0) x = (std::floor(x / tab) + 1) * tab;
      painter_->drawText(QPointF(x, top + metrics.ascent()), pieces[i]);
      x += metrics.horizontalAdvance(pieces[i]);
    }
  }
  y_ += static_cast<int>(std::lround(height / per_twip));
}

void QtPrinter::SetPosition(int x, int y) {
  x_ = x;
  y_ = y;
}

int QtPrinter::TextWidth(const std::string& text) {
  const QFontMetricsF metrics(font_, &Device());
  double widest = 0;
  for (const QString& line : Lines(text))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  return static_cast<int>(std::lround(widest / PixelsPerTwip()));
}

int QtPrinter::PageWidth() const {
  const QPrinter& device = Device();
  const double width = device.pageLayout().paintRectPixels(device.resolution()).width();
  return static_cast<int>(width / PixelsPerTwip());
}

void QtPrinter::NewPage() {
  // A page asked for before anything was printed still counts: it is blank.
  if (BeginPainting() && !Device().newPage()) {
    Fail(Status::Error(error_number::kDeviceIo, "The printer could not start a new page."));
  }
  x_ = 0;
  y_ = 0;
}

void QtPrinter::SetEnvelopeSetting() {
  envelope_ = true;
  // Too late for a page already begun; it then applies from the next document.
  if (device_ && !painter_) device_->setPageOrientation(QPageLayout::Landscape);
}

Status QtPrinter::EndDoc() {
  if (painter_) {
    const bool finished = painter_->end();
    painter_.reset();
    if (!finished || device_->printerState() == QPrinter::Error) {
      Fail(
          pdf_path_.isEmpty()
              ? Status::Error(error_number::kDeviceIo,
                              "The printer \"" + device_->printerName().toStdString() +
                                  "\" reported an error; the job may be incomplete.")
              : Status::Error(error_number::kPathFileAccess,
                              "The PDF printout " + Native(pdf_path_) + " could not be finished."));
    }
  }
  const Status result = failure_.value_or(Status::Ok());
  if (!pdf_path_.isEmpty()) {
    if (result.ok()) {
      last_pdf_ = pdf_path_;
      if (notice_) {
        unannounced_ << pdf_path_;
        QueueNotice();
      }
    } else {
      QFile::remove(pdf_path_);
    }
  }
  device_.reset();
  pdf_path_.clear();
  failure_.reset();
  envelope_ = false;
  font_scale_ = 1.0;
  line_pitch_ = 0;
  x_ = 0;
  y_ = 0;
  return result;
}

void QtPrinter::QueueNotice() {
  if (notice_queued_) return;
  notice_queued_ = true;
  notice_modal_ = QApplication::activeModalWidget();
  QTimer::singleShot(0, &notice_context_, [this] { DeliverNotice(); });
}

void QtPrinter::DeliverNotice() {
  // A command that prints may ask questions after it has printed; the
  // notice waits until they are answered, back in the window that printed
  // (which may itself be a modal dialog).
  if (QApplication::activeModalWidget() != notice_modal_.data()) {
    QTimer::singleShot(kNoticeRetryMs, &notice_context_, [this] { DeliverNotice(); });
    return;
  }
  notice_queued_ = false;
  const QStringList files = std::exchange(unannounced_, {});
  if (files.isEmpty() || !notice_) return;
  std::string text;
  if (files.size() == 1) {
    text = "Printed to " + Native(files.front());
  } else {
    text = "Printed " + std::to_string(files.size()) + " documents to " +
           Native(QFileInfo(files.front()).absolutePath()) + ":";
    for (qsizetype i = 0; i < files.size(); ++i) {
      if (i == kNoticeFileList - 1 && files.size() > kNoticeFileList) {
        text += "\n...\n";
        text += QFileInfo(files.back()).fileName().toStdString();
        break;
      }
      text += '\n';
      text += QFileInfo(files[i]).fileName().toStdString();
    }
  }
  if (target_ == Target::kDefaultPrinter) {
    text += "\n\nNo printer is installed, so printouts are saved as PDF files.";
  }
  notice_(text);
}

}  // namespace tabrel::gui
