// The Windows-1252 codec on arbitrary bytes: every byte survives a round
// trip, UTF-8 of any shape encodes without a crash, and upper-casing keeps
// the length of stored text.
#include <cstdint>
#include <cstdlib>

#include "base/codec.h"
#include "fuzz_data_set.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::Bytes(data, size);
  const EncodeResult back = EncodeCp1252(DecodeCp1252(input));
  if (back.bytes != input || back.replaced != 0) std::abort();

  const EncodeResult encoded = EncodeCp1252(input);  // the input as UTF-8
  if (encoded.replaced > input.size()) std::abort();
  if (UpperCp1252(input).size() != input.size()) std::abort();
  const std::string upper = UpperUtf8ByCp1252(input);
  // Characters keep their number: an upper-cased letter is one character.
  if (EncodeCp1252(upper).bytes.size() != encoded.bytes.size()) std::abort();
  return 0;
}
