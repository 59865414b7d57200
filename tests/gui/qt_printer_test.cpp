// QtPrinter printing to PDF files, as it does without an installed printer:
// the text comes back out of the file as printed, a document of many pages
// is one file with its pages in order, one notice tells where it went, and
// a folder that cannot be written fails the document with its path.
#include "gui/qt_printer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/temp_dir.h"
#include "present/text_wrap.h"
#include "reports/list_printing.h"

namespace tabrel::gui {
namespace {

// The PDF's lines of text, blanks collapsed, and "<page>" where a page
// ends; ligatures a font may set ("fi") are read back as their letters.
QStringList PdfLines(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), path, QStringLiteral("-")});
  process.waitForFinished(30000);
  QStringList lines;
  for (QString line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
    while (line.startsWith(QLatin1Char('\f'))) {
      lines << QStringLiteral("<page>");
      line.remove(0, 1);
    }
    if (!line.trimmed().isEmpty()) {
      lines << line.simplified().normalized(QString::NormalizationForm_KC);
    }
  }
  return lines;
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
  PrintWrapped(printer, 1, 1000, 3 * 1440,
               "Mary M\xFCller\r\n12 Elm Street\r\nThe quick brown fox jumps over the lazy dog "
               "while the five boxing wizards jump quickly and a pangram keeps every letter busy.");
  printer.PrintLine("Phone:\t555-0100");
  // Further pages of the same document, as a long list has them.
  printer.NewPage();
  printer.PrintLine("Second page");
  printer.NewPage();
  printer.PrintLine("Third page");
  ASSERT_TRUE(printer.EndDoc().ok());
  const QString file = printer.LastPdfPath();
  const QStringList lines = PdfLines(file);
  ASSERT_GE(lines.size(), 5) << lines.join('|').toStdString();
  EXPECT_EQ(lines[0], QString::fromUtf8("Mary M\xC3\xBCller"));
  EXPECT_EQ(lines.join(QLatin1Char(' ')).toStdString(),
            "Mary M\xC3\xBCller 12 Elm Street The quick brown fox jumps over the lazy dog while "
            "the five boxing wizards jump quickly and a pangram keeps every letter busy. Phone: "
            "555-0100 <page> Second page <page> Third page <page>");
  EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files).size(), 1)
      << "one document, one file";

  // Nothing is said while the command runs; afterwards once, naming the file.
  EXPECT_TRUE(notices.empty());
  QApplication::processEvents();
  QApplication::processEvents();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "Printed to " + file.toStdString());
}

TEST(QtPrinterTest, AListPrintsThePrintLinesOfTheSettingsOnEachPage) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    GTEST_SKIP() << "pdftotext (Debian's poppler-utils) is not installed";
  }
  testing::TempDir dir;
  QtPrinter printer(dir.path(), QtPrinter::Target::kPdfFile);
  std::string list;
  for (int i = 1; i <= 85; ++i) list += "Name " + std::to_string(i) + "\t555-01" + "\r\n";
  // 60 lines: the page breaks after the 61st, the program's own break.
  ASSERT_TRUE(PrintList(printer, list, 60).ok());
  std::vector<int> per_page{0};
  for (const QString& line : PdfLines(printer.LastPdfPath())) {
    if (line == QStringLiteral("<page>")) {
      per_page.push_back(0);
    } else {
      ++per_page.back();
    }
  }
  EXPECT_EQ(per_page, (std::vector<int>{61, 24, 0}));

  // More than fit in a readable size: said, nothing printed.
  const Status status = PrintList(printer, list, 400);
  EXPECT_EQ(status.description().rfind("404 lines do not fit one printed page", 0), 0u)
      << status.description();
  EXPECT_NE(status.description().find("Set a smaller \"Number of lines"), std::string::npos);
  EXPECT_EQ(QDir(dir.path().c_str() + QStringLiteral("printouts")).entryList(QDir::Files).size(),
            1);
}

}  // namespace
}  // namespace tabrel::gui
