// QtPrinter printing to PDF files, as it does without an installed printer:
// the text comes back out of the file as printed, each document is a file
// of its own, one notice tells where they went, and a folder that cannot be
// written fails the document with its path.
#include "gui/qt_printer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "reports/text_wrap.h"

namespace tabrel::gui {
namespace {

std::optional<QString> PdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList Words(const QString& text) {
  return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

TEST(QtPrinterTest, PrintedTextComesBackOutOfThePdfWithOneNoticePerCommand) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    GTEST_SKIP() << "pdftotext (Debian's poppler-utils) is not installed";
  }
  testing::TempDir dir;
  QtPrinter printer(dir.path(), QtPrinter::Target::kPdfFile);
  std::vector<std::string> notices;
  printer.SetPdfNotice([&notices](const std::string& text) { notices.push_back(text); });

  // Windows-1252 bytes, line breaks as stored, and a paragraph that has to
  // wrap in a column three inches wide.
  const std::string address = "Mary M\xFCller\r\n12 Elm Street\r\nSpringfield, IL 62701\r\n";
  const std::string paragraph =
      "The quick brown fox jumps over the lazy dog while the five boxing wizards jump quickly "
      "and a pangram keeps every letter of the alphabet busy.";
  PrintWrapped(printer, 1, 1000, 3 * 1440, address + paragraph);
  printer.PrintLine("Phone:\t555-0100");
  const Status status = printer.EndDoc();
  ASSERT_TRUE(status.ok()) << status.ErrorLine();

  const QString first = printer.LastPdfPath();
  const QString folder = QString::fromStdString(dir.path()) + QStringLiteral("printouts/");
  EXPECT_TRUE(first.startsWith(folder)) << first.toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("/tabrel-\\d{4}-\\d{2}-\\d{2}-\\d{6}\\.pdf$"))
                  .match(first)
                  .hasMatch())
      << first.toStdString();
  const std::optional<QString> text = PdfText(first);
  ASSERT_TRUE(text.has_value());
  const QString expected = QString::fromUtf8(
      "Mary M\xC3\xBCller 12 Elm Street Springfield, IL 62701 The quick brown fox jumps over the "
      "lazy dog while the five boxing wizards jump quickly and a pangram keeps every letter of "
      "the alphabet busy. Phone: 555-0100");
  EXPECT_EQ(Words(*text), Words(expected)) << text->toStdString();
  const QStringList lines = text->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_EQ(lines.value(0).trimmed(), QString::fromUtf8("Mary M\xC3\xBCller"));
  // Three lines of address, the paragraph on more than one line, the phone.
  EXPECT_GE(lines.size(), 6) << text->toStdString();

  // A second document in the same command gets a file of its own.
  printer.PrintLine("Second page");
  ASSERT_TRUE(printer.EndDoc().ok());
  const QString second = printer.LastPdfPath();
  EXPECT_NE(second, first);
  EXPECT_EQ(Words(PdfText(second).value_or(QString())), QStringList({"Second", "page"}));

  // Nothing is said while the command runs; afterwards once, for both.
  EXPECT_TRUE(notices.empty());
  QApplication::processEvents();
  ASSERT_EQ(notices.size(), 1u);
  const QString notice = QString::fromStdString(notices[0]);
  EXPECT_TRUE(notice.startsWith(QStringLiteral("Printed 2 pages to "))) << notices[0];
  EXPECT_TRUE(notice.contains(first.section(QLatin1Char('/'), -1))) << notices[0];
  EXPECT_TRUE(notice.contains(second.section(QLatin1Char('/'), -1))) << notices[0];
  QApplication::processEvents();
  EXPECT_EQ(notices.size(), 1u);
}

TEST(QtPrinterTest, UnwritablePrintoutsFolderFailsTheDocumentAndNamesIt) {
  testing::TempDir dir;
  dir.Write("printouts", "a file where the folder would go");
  QtPrinter printer(dir.path(), QtPrinter::Target::kPdfFile);
  printer.SetFont("courier new", false, 10);
  printer.PrintLine("lost");
  const Status status = printer.EndDoc();
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.number(), error_number::kPathFileAccess);
  EXPECT_NE(status.description().find(dir.path() + "printouts"), std::string::npos)
      << status.description();
  EXPECT_TRUE(printer.LastPdfPath().isEmpty());

  // The failure belongs to that document only.
  std::filesystem::remove(dir.File("printouts"));
  EXPECT_TRUE(printer.EndDoc().ok());  // nothing printed: no file
  EXPECT_FALSE(dir.Exists("printouts"));
  printer.PrintLine("found");
  EXPECT_TRUE(printer.EndDoc().ok());
  EXPECT_TRUE(QFile::exists(printer.LastPdfPath()));
}

}  // namespace
}  // namespace tabrel::gui
