#pragma once

// Helpers for golden-file tests: reading the readable record listings of
// testdata/ and showing where two files first differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "store/contact_record.h"

namespace tabrel::testing {

inline std::filesystem::path TestDataFolder(const char* topic) {
  // From the build's own record of the tree: __FILE__ may be relative.
  return std::filesystem::path(TABREL_TEST_DATA) / topic;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Contact records written readably: records separated by "---" lines, each
// line Field=value with the value running to the end of the line, blanks
// included; \r and \n in a value stand for CR and LF; "#" starts a comment
// line. Fields not given are blank.
inline std::vector<ContactRecord> ParseContacts(const std::string& text) {
  std::vector<ContactRecord> records;
  ContactRecord record = BlankContactRecord();
  bool any = false;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("#")) continue;
    if (line == "---") {
      records.push_back(record);
      record = BlankContactRecord();
      any = false;
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string value;
    for (std::size_t i = eq + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'r' || line[i + 1] == 'n')) {
        value.push_back(line[++i] == 'r' ? '\r' : '\n');
      } else {
        value.push_back(line[i]);
      }
    }
    for (const auto& field : kContactFields) {
      if (line.compare(0, eq, field.name) == 0) record.*field.member = value;
    }
    any = true;
  }
  if (any) records.push_back(record);
  return records;
}

// Lines split after each LF, CR shown as "\r", so a difference in line ends
// shows too.
inline std::vector<std::string> GoldenLines(const std::string& bytes) {
  std::vector<std::string> lines(1);
  for (char c : bytes) {
    lines.back() += c == '\r' ? std::string("\\r") : std::string(1, c);
    if (c == '\n') lines.emplace_back();
  }
  return lines;
}

inline std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const auto want = GoldenLines(expected);
  const auto got = GoldenLines(actual);
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string w = i < want.size() ? want[i] : "<end of file>";
    const std::string g = i < got.size() ? got[i] : "<end of file>";
    if (w != g) {
      return "line " + std::to_string(i + 1) + "\n  expected: " + w + "\n  actual:   " + g;
    }
  }
  return "";
}

// Records of fixed length, one per line, for comparing files without line
// ends: record n and the byte offset of the first difference inside it.
inline std::string FirstRecordDifference(const std::string& expected, const std::string& actual,
                                         std::size_t record_length) {
  for (std::size_t at = 0; at < std::max(expected.size(), actual.size()); at += record_length) {
    const std::string w = expected.substr(std::min(at, expected.size()), record_length);
    const std::string g = actual.substr(std::min(at, actual.size()), record_length);
    if (w == g) continue;
    std::size_t i = 0;
    while (i < std::min(w.size(), g.size()) && w[i] == g[i]) ++i;
    return "record " + std::to_string(at / record_length + 1) + ", byte " + std::to_string(i) +
           "\n  expected: " + w.substr(i, 40) + "\n  actual:   " + g.substr(i, 40);
  }
  return "";
}

// Compares `actual` with <folder>/<name>.expected, which
// TABREL_UPDATE_GOLDEN=1 rewrites after a deliberate change; records of
// `record_length` bytes (0: lines) say where they first differ.
inline void ExpectGolden(const std::filesystem::path& folder, const std::string& name,
                         const std::string& actual, std::size_t record_length = 0) {
  const auto path = folder / (name + ".expected");
  if (std::getenv("TABREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  const std::string expected = ReadBytes(path);
  EXPECT_TRUE(expected == actual) << name << ": "
                                  << (record_length > 0
                                          ? FirstRecordDifference(expected, actual, record_length)
                                          : FirstDifference(expected, actual));
}

}  // namespace tabrel::testing
