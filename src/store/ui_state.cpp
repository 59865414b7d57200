#include "store/ui_state.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace tabrel {
namespace {

// X11 keeps coordinates in 16 signed bits and sizes in 16 unsigned bits;
// anything outside can only come from a damaged file.
constexpr int kMaxCoordinate = 32767;
// A few hundred bytes are written; anything far larger is not ours.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<int> WholeNumber(const std::map<std::string, std::string>& values,
                               const std::string& key, int minimum, int maximum) {
  const auto found = values.find(key);
  if (found == values.end()) return std::nullopt;
  const std::string& text = found->second;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

}  // namespace

UiState UiState::Load(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxFileSize) return UiState();
  std::string text(size, '\0');
  std::ifstream in(path, std::ios::binary);
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) return UiState();
  return Parse(text);
}

UiState UiState::Parse(std::string_view text) {
  UiState state;
  std::map<std::string, std::string>* section = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() > 2) {
      section = &state.sections_[std::string(Trimmed(line.substr(1, line.size() - 2)))];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (section == nullptr || equals == std::string_view::npos || equals == 0) continue;
    (*section)[std::string(Trimmed(line.substr(0, equals)))] =
        std::string(Trimmed(line.substr(equals + 1)));
  }
  return state;
}

std::optional<WindowGeometry> UiState::Geometry(const std::string& window) const {
  const auto found = sections_.find(window);
  if (found == sections_.end()) return std::nullopt;
  const auto& values = found->second;
  const auto x = WholeNumber(values, "x", -kMaxCoordinate, kMaxCoordinate);
  const auto y = WholeNumber(values, "y", -kMaxCoordinate, kMaxCoordinate);
  const auto width = WholeNumber(values, "width", 1, kMaxCoordinate);
  const auto height = WholeNumber(values, "height", 1, kMaxCoordinate);
  // An older file without the flag means a window that was not maximised.
  const auto maximized =
      values.contains("maximized") ? WholeNumber(values, "maximized", 0, 1) : std::optional<int>(0);
  if (!x || !y || !width || !height || !maximized) return std::nullopt;
  return WindowGeometry{*x, *y, *width, *height, *maximized == 1};
}

void UiState::SetGeometry(const std::string& window, const WindowGeometry& geometry) {
  auto& values = sections_[window];
  values["x"] = std::to_string(geometry.x);
  values["y"] = std::to_string(geometry.y);
  values["width"] = std::to_string(geometry.width);
  values["height"] = std::to_string(geometry.height);
  values["maximized"] = geometry.maximized ? "1" : "0";
}

std::string UiState::Text() const {
  std::string text = "# Tabrel remembers its windows' places here; safe to delete.\n";
  for (const auto& [name, values] : sections_) {
    text += "\n[" + name + "]\n";
    for (const auto& [key, value] : values) text += key + "=" + value + "\n";
  }
  return text;
}

Status UiState::Save(const std::string& path, const RewriteFaultHook& fault) const {
  return AtomicRewrite(path, Text(), fault);
}

}  // namespace tabrel
