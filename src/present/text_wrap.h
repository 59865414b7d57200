#pragma once

#include <string>

#include "platform/printer.h"

namespace tabrel {

// Appends `source` to `target`, breaking a line after the first blank that
// comes once the line holds more than 55 characters. Line breaks already in
// the text (CR LF) start the count again.
void chopText(const std::string& source, std::string& target);

// Prints `text` on `printer` from (left, top), in Arial bold 10 point,
// wrapping at blanks so that a line stays within width - 10 twips. A word
// wider than that is never broken: a first word stands on a line of its
// own, and a last piece without blanks is printed whole. An empty text
// prints one empty line. The caller ends the document.
void PrintWrapped(Printer& printer, int left, int top, int width, std::string text);

}  // namespace tabrel
