// The vCard reader on arbitrary bytes: it never crashes or hangs, every card
// becomes a whole record, every fault names a line of the file, and what the
// writer makes of the records reads back as sound cards, one for each, with
// no line longer than the 75 octets the format allows.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/formats/vcard_reader.h"
#include "exchange/formats/vcard_writer.h"
#include "fuzz_data_set.h"
#include "store/layout.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const VcardReadResult read = ReadVcards(input);
  std::size_t lines = 1;
  for (char c : input) lines += c == '\n' || c == '\r';
  for (const VcardProblem& problem : read.problems) {
    if (problem.line == 0 || problem.line > lines || problem.text.empty()) std::abort();
  }
  for (const VcardEntry& entry : read.entries) {
    if (entry.record.size() != layout::kContactRecordLength) std::abort();
  }

  for (VcardVersion version : {VcardVersion::k30, VcardVersion::k40}) {
    std::string written;
    for (const VcardEntry& entry : read.entries) AppendVcard(entry.record, {version}, written);
    for (std::size_t at = 0, end; at < written.size(); at = end + 2) {
      end = written.find("\r\n", at);
      if (end == std::string::npos || end - at > 75) std::abort();
    }
    const VcardReadResult again = ReadVcards(written);
    if (!again.problems.empty() || again.entries.size() != read.entries.size()) std::abort();
  }
  return 0;
}
