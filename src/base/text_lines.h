#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabrel {

// Where the first `c` at or after `from` stands; npos when none does. For
// the short texts of a line or a value, which a file of megabytes has
// hundreds of thousands of: sixteen bytes compared at a time inline cost
// less there than a call of memchr.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(c);
  for (; at + 16 <= text.size(); at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
    if (found != 0) return at + static_cast<std::size_t>(std::countr_zero(found));
  }
#endif
  for (; at < text.size(); ++at) {
    if (text[at] == c) return at;
  }
  return std::string_view::npos;
}

// Where the first CR or LF at or after `from` stands; npos when none does.
std::size_t FindLineEnd(std::string_view text, std::size_t from);

// What a CR that stands before no LF means.
enum class LoneCr {
  kEndsLine,  // a line end, as old Macintosh programs wrote them
  // Within the line when the text holds any LF (a value's own line break,
  // as some writers leave it), else a line end.
  kKeptWhereLfEndsLines,
};

// The lines of a text from another program, each ended by CR LF, a lone CR
// or a lone LF, whichever the writer used (files mix them). CRs doubled
// before an LF ("\r\r\n", as some programs write) end one line, not two.
// The line end is not part of the line. A last line without an end counts;
// an empty text has no lines. Unlike the report line reader, a lone LF
// always ends a line.
class LineReader {
 public:
  explicit LineReader(std::string_view text, LoneCr lone_cr = LoneCr::kEndsLine);

  // The next line into `line`; false at the end of the text.
  bool Next(std::string_view& line) {
    if (!Peek(line)) return false;
    start_ = at_;
    at_ = after_;
    ++number_;
    return true;
  }
  // The line Next() would give, without taking it.
  bool Peek(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    // Inline, since a file of megabytes has a line every few dozen bytes.
    if (scanned_for_ != at_) Scan();
    line = line_;
    return true;
  }
  // The number of the line Next() gave last, from 1.
  std::size_t number() const { return number_; }
  // Where in the text the line Next() would give begins.
  std::size_t offset() const { return at_; }
  // Gives the line Next() gave last once more on the next call (once).
  void PutBack() {
    at_ = start_;
    --number_;
  }

 private:
  // Finds the line at at_ (once, however often it is peeked at).
  void Scan();

  std::string_view text_;
  bool lf_only_ = false;  // only an LF ends a line
  std::size_t at_ = 0;
  std::size_t start_ = 0;
  std::size_t number_ = 0;
  std::size_t scanned_for_ = std::string_view::npos;  // the at_ that line_ and after_ belong to
  std::string_view line_;
  std::size_t after_ = 0;
};

}  // namespace tabrel
