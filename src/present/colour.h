#pragma once

#include <cstdint>

namespace tabrel {

// A colour as the core names it: an RGB value or one of the desktop's own
// colours, which the GUI looks up in its palette.
struct Colour {
  enum class System : std::uint8_t { kNone, kButtonFace, kButtonText, kGrayText };
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  System system = System::kNone;

  bool operator==(const Colour&) const = default;
};

inline constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour{r, g, b, Colour::System::kNone};
}
inline constexpr Colour SystemColour(Colour::System s) {
  return Colour{0, 0, 0, s};
}

inline constexpr Colour kWhite = Rgb(255, 255, 255);
inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kDarkBlue = Rgb(0, 0, 192);
inline constexpr Colour kCyan = Rgb(0, 255, 255);
inline constexpr Colour kGrey = Rgb(128, 128, 128);
inline constexpr Colour kYellow = Rgb(255, 255, 0);
inline constexpr Colour kButtonFace = SystemColour(Colour::System::kButtonFace);
inline constexpr Colour kButtonText = SystemColour(Colour::System::kButtonText);
inline constexpr Colour kGrayText = SystemColour(Colour::System::kGrayText);

}  // namespace tabrel
