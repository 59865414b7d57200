#pragma once

namespace tabrel::key {

// Key codes of the main window's key handler; letters are their capitals.
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kA = 65;
inline constexpr int kZ = 90;
inline constexpr int kV = 86;
inline constexpr int kF1 = 112;
inline constexpr int kF2 = 113;
inline constexpr int kF3 = 114;
inline constexpr int kF4 = 115;
inline constexpr int kF5 = 116;
inline constexpr int kF6 = 117;
inline constexpr int kF7 = 118;
inline constexpr int kF8 = 119;
inline constexpr int kF9 = 120;
inline constexpr int kComma = 188;
inline constexpr int kPeriod = 190;

}  // namespace tabrel::key
