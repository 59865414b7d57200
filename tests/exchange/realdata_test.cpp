// Imports every file other address books wrote (the shared collection of
// real files, read where it lies and never copied here) through tabrel-cli,
// as a user would, and compares what became of it with
// testdata/realdata/<file>.expected: the dry run's preview, the import's
// report and, per record (again with --extras-to-notes for vCard and LDIF),
// the fields it filled and a hash of their values (the files' contents stay
// out of the repository). TABREL_UPDATE_EXPECTED=1 writes the expectations
// afresh. Skipped where the collection is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "fakes/cli_runner.h"
#include "fakes/golden.h"
#include "fakes/real_data.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> RealFiles() {
  std::vector<fs::path> files;
  for (const char* kind : {"csv", "ldif", "vcard"}) {
    const fs::path folder = testing::RealDataFolder(kind);
    if (folder.empty()) continue;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The format is the name of the file's folder.
std::string FormatOf(const fs::path& file) {
  return file.parent_path().filename().string();
}

// Each record as the names of the fields it fills and a hash of their
// values, its stamp (Modified) left out.
std::string Fingerprint(const std::string& records) {
  std::string text;
  for (std::size_t at = 0; at + layout::kContactRecordLength <= records.size();
       at += layout::kContactRecordLength) {
    const ContactRecord record = DecodeContact(records.substr(at));
    std::uint32_t hash = 2166136261u;
    std::string filled;
    for (const ContactField& field : kContactFields) {
      if (std::string_view(field.name) == "Modified") continue;
      const std::string value = Trim(record.*field.member);
      if (value.empty()) continue;
      filled += std::string(" ") + field.name;
      for (const unsigned char c : value) hash = (hash ^ c) * 16777619u;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    text += std::string(hex) + filled + "\n";
  }
  return text;
}

class RealFileTest : public ::testing::TestWithParam<fs::path> {};

TEST_P(RealFileTest, ImportsAsItsExpectationSays) {
  const fs::path& file = GetParam();
  testing::CliRunner cli;
  cli.environment = {"SOURCE_DATE_EPOCH=1700000000"};
  std::vector<std::string> args = {"import", FormatOf(file), file.string(), "--no-backup",
                                   "--dry-run"};
  const testing::CliOutcome preview = cli.Cli(args);
  args.pop_back();
  const testing::CliOutcome run = cli.Cli(args);
  std::string got = preview.out + "---\nexit " + std::to_string(run.code) + "\n" + run.err +
                    "---\n" + Fingerprint(testing::ReadBytes(cli.ProgramFolder() + "tabrel.dat"));
  // What no field holds, kept in the notes instead.
  if (FormatOf(file) != "csv") {
    const std::string folder = cli.WorkFolder() + "kept";
    fs::create_directories(folder);
    args.insert(args.begin(), {"--data", folder});
    args.push_back("--extras-to-notes");
    const testing::CliOutcome kept = cli.Cli(args);
    got += "--- extras to notes\n" + kept.err +
           Fingerprint(testing::ReadBytes(folder + "/tabrel.dat"));
  }
  const fs::path expected =
      testing::TestDataFolder("realdata") / (file.filename().string() + ".expected");
  if (const char* update = std::getenv("TABREL_UPDATE_EXPECTED"); update && *update == '1') {
    std::ofstream(expected, std::ios::binary) << got;
  }
  EXPECT_EQ(got, testing::ReadBytes(expected)) << file;
}

INSTANTIATE_TEST_SUITE_P(RealData, RealFileTest, ::testing::ValuesIn(RealFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                           std::string name = info.param.filename().string();
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealFileTest);

}  // namespace
}  // namespace tabrel
