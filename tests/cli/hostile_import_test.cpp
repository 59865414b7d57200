// Files no import should take, given to tabrel-cli import as a script
// would: each is refused promptly, saying why, and the data set is as it
// was.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "fakes/cli_runner.h"
#include "fakes/contact_files.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using namespace std::string_literals;

using testing::CliOutcome;
using testing::Contact;

class HostileImportTest : public ::testing::Test, public testing::CliRunner {
 protected:
  void SetUp() override {
    Write(ProgramFolder() + "tabrel.dat",
          testing::ContactBytes({Contact("1", "Baker", "Ann", "01-01-2000 1")}));
  }
  std::string File(const std::string& name) const { return WorkFolder() + name; }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Imports `name` (in the work folder) as `format`; the data set must stay
  // as it was.
  CliOutcome Import(const std::string& format, const std::string& name) const {
    const std::string before = testing::ReadBytes(ProgramFolder() + "tabrel.dat");
    const CliOutcome run = Cli({"import", format, name, "--no-backup"});
    EXPECT_EQ(testing::ReadBytes(ProgramFolder() + "tabrel.dat"), before);
    return run;
  }
};

TEST_F(HostileImportTest, WhatIsNoFileIsRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(File("folder"));
  std::filesystem::create_symlink("loop", File("loop"));
  std::filesystem::create_symlink("/dev/zero", File("zero"));
  // A socket cannot even be opened: it is told for what it is.
  sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
  File("socket").copy(address.sun_path, sizeof address.sun_path - 1);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const struct {
    const char* name;
    const char* why;
  } cases[] = {{"fifo", "a pipe, not a file"},
               {"zero", "a device, not a file"},
               {"folder", "Is a directory"},
               {"loop", "Too many levels of symbolic links"},
               {"socket", "a socket, not a file"}};
  for (const auto& c : cases) {
    for (const char* format : {"native", "dos", "csv", "ldif", "agent", "vcard"}) {
      const CliOutcome run = Import(format, c.name);
      EXPECT_EQ(run.code, 1) << c.name << " " << format;
      EXPECT_NE(run.err.find(c.why), std::string::npos) << c.name << " " << format << run.err;
    }
  }
  ::close(listener);
}

TEST_F(HostileImportTest, ANulIsRefusedByEveryTextFormat) {
  const struct {
    const char* format;
    std::string text;
  } cases[] = {
      {"csv", "Last,First\nCole,C\0d\n"s},
      {"ldif", "dn: cn=Cole\ncn: C\0d\nsn: Cole\n"s},
      {"agent", "Cole\tC\0d\n"s},
      {"vcard", "BEGIN:VCARD\nVERSION:3.0\nFN:C\0d\nN:Cole;C\0d;;;\nEND:VCARD\n"s},
  };
  for (const auto& c : cases) {
    Write(File("nul"), c.text);
    const CliOutcome run = Import(c.format, "nul");
    EXPECT_EQ(run.code, 1) << c.format;
    EXPECT_NE(run.err.find("NUL"), std::string::npos) << c.format << run.err;
  }
}

TEST_F(HostileImportTest, RandomBytesOfAWholeNumberOfRecordsAreNoRecordFile) {
  std::mt19937 random(17);
  for (const auto& [format, length] : {std::pair{"native", layout::kContactRecordLength},
                                       std::pair{"dos", layout::kDosRecordLength}}) {
    std::string bytes(30 * length, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    Write(File("random"), bytes);
    const CliOutcome run = Import(format, "random");
    EXPECT_EQ(run.code, 1) << format;
    EXPECT_NE(run.err.find(File("random") + " is not a Tabrel record file: record 1 holds bytes "
                                            "that are not text."),
              std::string::npos)
        << run.err;
  }
}

TEST_F(HostileImportTest, AHundredMegabyteLineOfCommasIsReadInBoundedMemory) {
  Write(File("commas.csv"), "Last,First\n" + std::string(100 << 20, ',') + "\n");
  const CliOutcome run = Cli({"import", "csv", "commas.csv", "--dry-run"});
  EXPECT_EQ(run.code, 0) << run.err;
}

}  // namespace
}  // namespace tabrel
