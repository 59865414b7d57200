// An Agent address book of arbitrary bytes, decoded as an import decodes it
// and read entry by entry: every entry with a name or an address becomes a
// whole stored record, and the entry written back from that record reads
// as one entry again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text_decoding.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/record_builder.h"
#include "fuzz_data_set.h"
#include "store/layout.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const DecodedText decoded = DecodeText(fuzz::Bytes(data, size));
  AgentReader reader(decoded.text);
  AgentEntry entry;
  RecordBuilder built;
  std::string record;
  while (reader.Next(entry)) {
    if (!entry.HasNameOrAddress()) continue;
    ContactFromAgent(entry, built);
    built.Write(record, '1', kAgentKeyword, "01-01-2000 1");
    if (record.size() != layout::kContactRecordLength) std::abort();
    std::string written;
    AppendAgentEntry(record, written);
    AgentReader back(written);
    AgentEntry first;
    if (!back.LooksValid() || !back.Next(first) || back.Next(first)) std::abort();
  }
  return 0;
}
