#pragma once

#include <string>

#include "base/status.h"

namespace tabrel {

// The default printer. Positions and widths are in twips (1/1440 inch) from
// the top left of the printable area. Texts are Windows-1252 bytes, as
// stored; the printer layer converts them. Every document is one print job,
// however many pages it has: one print command, one job.
class Printer {
 public:
  virtual ~Printer() = default;
  // Applies to the lines printed after it ("Arial" or "courier new").
  virtual void SetFont(const std::string& name, bool bold, int points) = 0;
  // Prints the text at the current position and moves to the start of the
  // next line; a tab moves to the next tab stop.
  virtual void PrintLine(const std::string& text) = 0;
  virtual void SetPosition(int x, int y) = 0;
  virtual int CurrentX() const = 0;
  virtual int CurrentY() const = 0;
  // The printed width of `text` in the current font.
  virtual int TextWidth(const std::string& text) = 0;
  virtual int PageWidth() const = 0;
  // Sets one page setting to the value the envelope print needs.
  virtual void SetEnvelopeSetting() = 0;
  // Goes on on a new page of the same document, at its top left.
  virtual void NewPage() = 0;
  // Makes `lines` lines of the fonts set afterwards fit one page, smaller
  // and closer when they have to, until the document ends; 0 or less: the
  // fonts as they are. An error, saying how many would fit, when that takes
  // a font too small to read. Printers without pages fit any number.
  virtual Status FitLinesPerPage(int /*lines*/) { return Status::Ok(); }
  // Sends what was printed since the last end as one job. A printer that
  // failed anywhere in the document reports it here.
  virtual Status EndDoc() = 0;
};

}  // namespace tabrel
