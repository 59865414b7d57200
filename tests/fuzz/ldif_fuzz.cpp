// An LDIF file of arbitrary bytes, decoded as an import decodes it and read
// record by record: every record starts on a later line than the one
// before, and every entry made into a stored record gives a whole one.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text_decoding.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/formats/ldif_reader.h"
#include "exchange/formats/record_builder.h"
#include "fuzz_data_set.h"
#include "store/layout.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DecodedText decoded = DecodeText(fuzz::Bytes(data, size));
  LdifReader reader(decoded.text);
  LdifRecord entry;
  RecordBuilder built;
  std::string record;
  std::size_t last_line = 0;
  while (reader.Next(entry)) {
    if (entry.line <= last_line) std::abort();
    last_line = entry.line;
    const LdifOutcome outcome = ContactFromLdif(entry, built);
    if (outcome != LdifOutcome::kIndividual && outcome != LdifOutcome::kOrganisation) continue;
    built.Write(record, outcome == LdifOutcome::kIndividual ? '1' : '2', kLdifKeyword,
                "01-01-2000 1");
    if (record.size() != layout::kContactRecordLength) std::abort();
  }
  return 0;
}
