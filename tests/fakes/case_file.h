#pragma once

// Test cases kept in text files under testdata/. A case starts at a line
// "== name" and holds lines key=value, the value running to the end of the
// line; a key may come again. In values \r \n \t \\ and \xNN stand for their
// bytes; a backslash before anything else is itself. Lines starting with
// "#" are comments; blank lines are ignored.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "fakes/golden.h"

namespace tabrel::testing {

struct FileCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> fields;

  bool Has(std::string_view key) const {
    for (const auto& [k, v] : fields) {
      if (k == key) return true;
    }
    return false;
  }
  // The first value of `key`; a case without it fails the test.
  std::string Get(std::string_view key) const {
    for (const auto& [k, v] : fields) {
      if (k == key) return v;
    }
    ADD_FAILURE() << name << " has no " << key
                  << (Has("!unreadable") ? ": " + All("!unreadable")[0] : "");
    return "";
  }
  std::string Get(std::string_view key, const std::string& otherwise) const {
    return Has(key) ? Get(key) : otherwise;
  }
  std::vector<std::string> All(std::string_view key) const {
    std::vector<std::string> values;
    for (const auto& [k, v] : fields) {
      if (k == key) values.push_back(v);
    }
    return values;
  }
};

inline void PrintTo(const FileCase& c, std::ostream* out) {
  *out << c.name;
}

inline std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'x' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else if (c == 'r' || c == 'n' || c == 't' || c == '\\') {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
    } else {
      out.append({'\\', c});
    }
  }
  return out;
}

// The cases of testdata/<topic>/<file>; a file that cannot be read gives one
// case that fails.
inline std::vector<FileCase> LoadCases(const char* topic, const char* file) {
  const auto path = TestDataFolder(topic) / file;
  std::istringstream in(ReadBytes(path));
  std::vector<FileCase> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("== ")) {
      std::string name;
      for (char c : line.substr(3)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      cases.push_back({name, {}});
    } else if (const auto eq = line.find('=');
               !cases.empty() && !line.starts_with("#") && eq != std::string::npos) {
      cases.back().fields.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
    }
  }
  if (cases.empty())
    cases.push_back({"missing", {{"!unreadable", "no cases in " + path.string()}}});
  return cases;
}

// A case file's cases as the parameters of a test suite; a file that could
// not be read fails its one case.
class FileCaseTest : public ::testing::TestWithParam<FileCase> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(GetParam().Has("!unreadable")) << GetParam().Get("!unreadable");
  }
};

// Compares `actual` with the case's `key` when the case gives one: a number,
// "1" or "0" for a flag, or the text itself.
template <typename T>
void ExpectIfGiven(const FileCase& c, std::string_view key, const T& actual) {
  if (!c.Has(key)) return;
  SCOPED_TRACE(key);
  if constexpr (std::is_same_v<T, bool>) {
    EXPECT_EQ(actual, c.Get(key) == "1");
  } else if constexpr (std::is_integral_v<T>) {
    EXPECT_EQ(actual, static_cast<T>(std::stoll(c.Get(key))));
  } else {
    EXPECT_EQ(actual, c.Get(key));
  }
}

inline std::string CaseName(const ::testing::TestParamInfo<FileCase>& info) {
  return info.param.name;
}

inline std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace tabrel::testing
