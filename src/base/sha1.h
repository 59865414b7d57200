#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tabrel {

// The SHA-1 digest of `bytes` (FIPS 180-4). Used only to derive names that
// must stay the same from one run to the next (name-based UUIDs), never for
// security.
// Computed by the processor's SHA instructions where it has them.
std::array<std::uint8_t, 20> Sha1(std::string_view bytes);
// The same digest without them, as a processor that lacks them computes it.
std::array<std::uint8_t, 20> Sha1Portable(std::string_view bytes);

}  // namespace tabrel
