#pragma once

// Test cases kept in text files under testdata/. A case starts at a line
// "== name" and holds lines key=value, the value running to the end of the
// line; a key may come again. In values \r \n \t \\ and \xNN stand for their
// bytes; a backslash before anything else is itself. Lines starting with
// "#" are comments; blank lines are ignored.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "fakes/golden.h"
#include "store/contact_record.h"

namespace tabrel::testing {

struct FileCase {
  std::string name;
  std::multimap<std::string, std::string, std::less<>> fields;  // in file order per key

  bool Has(std::string_view key) const { return fields.contains(key); }
  // The first value of `key`; a case without it fails the test.
  std::string Get(std::string_view key) const {
    const auto at = fields.find(key);
    if (at == fields.end()) ADD_FAILURE() << name << " has no " << key;
    return at == fields.end() ? "" : at->second;
  }
  std::string Get(std::string_view key, const std::string& otherwise) const {
    return Has(key) ? Get(key) : otherwise;
  }
  std::vector<std::string> All(std::string_view key) const {
    std::vector<std::string> values;
    for (auto [at, end] = fields.equal_range(key); at != end; ++at) values.push_back(at->second);
    return values;
  }
};

// A blank record with each field the case names (RecType, LastName, ...).
inline ContactRecord RecordOf(const FileCase& c) {
  ContactRecord record = BlankContactRecord();
  for (const ContactField& field : kContactFields) record.*field.member = c.Get(field.name, "");
  return record;
}

inline void PrintTo(const FileCase& c, std::ostream* out) {
  *out << c.name;
}

inline std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = i + 1 < text.size() && text[i] == '\\' ? text[i + 1] : '\0';
    if (c == 'x' && i + 3 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else if (c == 'r' || c == 'n' || c == 't' || c == '\\') {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The cases of testdata/<topic>/<file>; a file without any gives one case
// that fails.
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
      cases.back().fields.emplace(line.substr(0, eq), Unescape(line.substr(eq + 1)));
    }
  }
  if (cases.empty()) cases.push_back({"missing", {{"!unreadable", path.string()}}});
  return cases;
}

class FileCaseTest : public ::testing::TestWithParam<FileCase> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(GetParam().Has("!unreadable")) << "no cases in " << GetParam().Get("!unreadable");
  }
};

// The cases of testdata/topic/file as the parameters of `suite`, each test
// named by its case.
#define TABREL_FILE_CASES(prefix, suite, topic, file)                                      \
  INSTANTIATE_TEST_SUITE_P(prefix, suite,                                                  \
                           ::testing::ValuesIn(::tabrel::testing::LoadCases(topic, file)), \
                           [](const auto& info) { return info.param.name; })

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

inline std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    if (c != separator) parts.back().push_back(c);
  }
  return parts;
}

}  // namespace tabrel::testing
