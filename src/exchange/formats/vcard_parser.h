#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text_lines.h"

namespace tabrel {

// One property of a vCard: its value decoded to UTF-8 (quoted-printable and
// base64 undone, the character set converted) but still escaped, since the
// escapes decide where a structured value splits.
struct VcardProperty {
  std::string group;               // "item1" of "item1.EMAIL"; empty when none
  std::string name;                // upper case: "EMAIL"
  std::vector<std::string> types;  // upper case, from every TYPE parameter (lists split) and
                                   // the bare parameters of 2.1 ("WORK", "PREF")
  int pref = 0;                    // PREF=n of 4.0, 1 the most preferred; 0 when not given
  std::string value_type;          // VALUE=..., upper case ("URI", "TEXT"); empty when not given
  // Every other NAME=VALUE parameter but ENCODING and CHARSET, which the
  // parser applies: the name upper case, the value without its quotes.
  std::vector<std::pair<std::string, std::string>> params;
  std::string value;
  std::size_t line = 0;  // the line it starts on, from 1

  bool HasType(std::string_view upper) const;
  // The value of parameter `upper`; empty when it is not there.
  std::string_view Param(std::string_view upper) const;
};

struct VcardCard {
  std::size_t line = 0;  // the line of its BEGIN:VCARD, from 1
  std::string version;   // as the card gives it ("2.1", "3.0", "4.0"); empty when it does not
  std::vector<VcardProperty> properties;
};

// A fault in the structure of a file (BEGIN and END that do not pair up,
// text outside any card), with the line it was found on.
struct VcardProblem {
  std::size_t line = 0;
  std::string text;  // UTF-8
};

struct VcardReadOptions {
  // The character set of 8-bit text that names none (no CHARSET parameter,
  // no byte-order mark). Empty: UTF-8 where the value is well-formed UTF-8,
  // else Windows-1252, which older programs wrote.
  std::string charset;
};

// Reads the vCards of a file, version 2.1, 3.0 or 4.0, as address books
// write them, one card at a time:
//
// - The file may be UTF-8 (with or without a byte-order mark), UTF-16 (with
//   or without one) or 8-bit text in any character set (see
//   VcardReadOptions), read by DecodeUnicodeForm; lines may end in CR LF,
//   LF, CR CR LF or, in a file without LF, CR. A CR alone inside a line of a
//   file with LF stays in the value.
// - Folded lines are unfolded (a line led by a blank or a tab continues the
//   one before it, that one character dropped); a quoted-printable value
//   ending in "=" continues on the next line whatever that begins with (a
//   "#" or a blank there is text, not a comment or a fold); a line ending
//   in a single "\" is continued by the next line that is not a property,
//   as some phones write a multi-line value; a base64 value runs on over
//   lines that are not properties.
// - Names, parameter names and parameter values are read in any case;
//   TYPE=a,b and TYPE=a;TYPE=b and 2.1's bare ;A;B are the same; quoted
//   parameter values may hold ";", ":" and ",".
// - Quoted-printable and base64 values are decoded; a base64 value of a
//   picture, sound or key (PHOTO, LOGO, SOUND, KEY) is skipped, as is any
//   property whose base64 is broken. CHARSET names the set of the value's
//   bytes.
// - Lines beginning with "#", and lines within a card that are no property,
//   are ignored. A card nested in a 2.1 AGENT property is skipped with it.
// - BEGIN:VCARD and END:VCARD must pair up: a card begun inside another,
//   an END without a BEGIN, a card left open at the end of the file, and
//   text outside any card are problems, each with its line; the cards
//   around them are still read, so that every problem can be listed.
class VcardParser {
 public:
  explicit VcardParser(std::string_view bytes, VcardReadOptions options = {});
  // The same, taking the bytes over: an 8-bit file is then read in place.
  explicit VcardParser(std::string&& bytes, VcardReadOptions options = {});
  ~VcardParser();

  // The next card into `card` (everything it held is replaced); false at
  // the end of the file.
  bool Next(VcardCard& card);

  // Hands the cards from about `share` (0..1) of the way through the text
  // on to a parser of their own, which reads this one's text (this one must
  // outlive it) and may run on another thread, its lines numbered as in the
  // file. This one then stops before the first of them, should it come to
  // it between two cards (split() says so); should it come to it inside a
  // card (one the line that looked like a card's start turns out to be
  // within), it reads on to the end and the other's cards are not the
  // file's. Null when no line from there on is BEGIN:VCARD, or the text is
  // not one whose lines LF ends.
  std::unique_ptr<VcardParser> SplitOff(double share);
  // True when the last Next() stopped where the parser SplitOff() gave
  // starts: that one reads the rest.
  bool split() const { return stopped_; }

  // The problems found so far; all of them once Next() returned false.
  const std::vector<VcardProblem>& problems() const { return problems_; }
  // The cards begun so far (BEGIN:VCARD outside a card), whole or not.
  std::size_t begun() const { return begun_; }
  // What the file's bytes were read as: "UTF-8", "UTF-16LE", "UTF-16BE" or
  // "8-bit".
  std::string_view encoding() const { return encoding_; }

 private:
  struct Header;

  // The part of `whole`'s text from `from` on.
  VcardParser(const VcardParser& whole, std::size_t from);

  // The next logical (unfolded) line, the line it starts on, and whether it
  // is a property (then header_ holds its parts).
  // The view holds until the next call.
  bool NextLogical(std::string_view& text, std::size_t& line, bool& property);
  // `as_in_file` says whether the value is the file's text as it stands.
  bool Decode(const Header& header, VcardProperty& property, bool& as_in_file) const;
  void SkipNested(std::size_t begun);
  void Problem(std::size_t line, std::string text) { problems_.push_back({line, std::move(text)}); }

  // The file's text: UTF-8 when the file declared a Unicode form, else its
  // bytes, each value then decoded in the set it names.
  std::string text_;
  std::string encoding_;
  bool unicode_ = false;
  bool text_holds_nul_ = false;
  LineReader lines_;
  VcardReadOptions options_;
  std::string logical_;             // a folded line, joined
  std::unique_ptr<Header> header_;  // of the last logical line
  std::vector<VcardProblem> problems_;
  std::size_t begun_ = 0;
  std::size_t line_base_ = 0;  // the lines of the file before the text read
  std::size_t stop_at_ = std::string_view::npos;
  bool stopped_ = false;
};

// The lines of a file that begin a card (BEGIN:VCARD, in any case), counted
// without reading the cards: what a file offers before it is imported. The
// count stops at `up_to`: whether a file begins a card at all is known at
// its first.
std::size_t CountCardsBegun(std::string_view bytes,
                            std::size_t up_to = std::numeric_limits<std::size_t>::max());

}  // namespace tabrel
