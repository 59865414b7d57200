// DOS records of arbitrary bytes, as an import reads them from another
// machine: each becomes a stored record, replaces a stored record, and is
// written back out. Every result has its format's length, and a DOS record
// read in and written out again is the record the DOS export of the stored
// one gives.
#include <cstdint>
#include <cstdlib>

#include "exchange/formats/dos_record.h"
#include "fuzz_data_set.h"
#include "store/layout.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  constexpr std::size_t kDos = layout::kDosRecordLength;
  constexpr std::size_t kStored = layout::kContactRecordLength;
  std::string previous(kStored, ' ');
  std::string exported;
  for (std::size_t at = 0; at + kDos <= input.size(); at += kDos) {
    const std::string_view dos = input.substr(at, kDos);
    const std::string stored = ContactOfDos(dos);
    if (stored.size() != kStored) std::abort();
    const std::string replaced = DosReplacement(previous, dos);
    if (replaced.size() != kStored) std::abort();
    const std::string out = DosRecordOf(stored);
    if (out.size() != kDos) std::abort();
    // Out, in and out again: the DOS side is stable after one trip.
    if (DosRecordOf(ContactOfDos(out)) != out) std::abort();
    AppendDosRecord(replaced, exported);
    previous = replaced;
  }
  if (exported.size() != input.size() / kDos * kDos) std::abort();
  return 0;
}
