// The built tabrel-cli, run as a script would run it, on data sets in
// temporary folders: what each command prints, its exit status, and what
// it leaves on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "exchange/formats/dos_record.h"
#include "fakes/cli_runner.h"
#include "fakes/contact_files.h"
#include "fakes/golden.h"
#include "store/data_set_lock.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using testing::CliOutcome;
using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;
using testing::ReadBytes;
using testing::Stamps;
using Words = std::vector<std::string>;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ContactRecord With(ContactRecord record, const std::string& kw1, const std::string& notes = "") {
  record.KW1 = kw1;
  record.Notes = notes;
  return record;
}

// Every file under `folder` and its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().string()] = ReadBytes(entry.path());
  }
  return files;
}

class CliTest : public ::testing::Test, public testing::CliRunner {
 protected:
  void SetUp() override {
    // Ann and Acme carry keywords; Cole is personal; the note of Dunn holds
    // a Windows-1252 "é" (0xE9).
    records = {With(Contact("1", "Baker", "Ann", "01-01-2000 1"), "Golf"),
               With(Contact("2", "Acme", "", "01-01-2000 2"), "Work"),
               Contact("3", "Cole", "Cid", "03-03-2003 3"),
               With(Contact("1", "Dunn", "Ren\xE9", "04-04-2004 4"), "", "Likes golf")};
    WriteData(records);
    WriteFile(Data("keyword.dat"), Keyword("Golf") + Keyword("Work"));
  }
  std::string Data(const std::string& name) const { return ProgramFolder() + name; }
  void WriteData(const std::vector<ContactRecord>& list) const {
    WriteFile(Data("tabrel.dat"), ContactBytes(list));
  }
  std::string Records() const { return ReadBytes(Data("tabrel.dat")); }

  std::vector<ContactRecord> records;
};

// An existing file: --yes adds where the format can be added to (no second
// header), --replace replaces, neither writes nothing.
TEST_F(CliTest, YesAddsWhereAFormatCanBeAddedToReplaceReplacesNeitherWritesNothing) {
  for (const auto& [format, adds] : {std::pair{"native", true},
                                     {"dos", true},
                                     {"csv", true},
                                     {"ldif", false},
                                     {"agent", false},
                                     {"vcard", false}}) {
    SCOPED_TRACE(format);
    const std::string out = root.File(std::string("out.") + format);
    ASSERT_EQ(Cli({"export", format, "-o", out}).code, 0);
    const std::string once = ReadBytes(out);
    const CliOutcome refused = Cli({"export", format, "-o", out});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(adds ? "exists. Give --yes to add the records to it, or --replace"
                                    : "cannot be added to a file. Give --replace to replace it."),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(ReadBytes(out), once);
    EXPECT_EQ(Cli({"export", format, "-o", out, "--yes"}).code, adds ? 0 : 1);
    const std::string header = once.substr(0, once.find('\n') + 1);
    const std::string twice =
        !adds ? once : once + (std::string(format) == "csv" ? once.substr(header.size()) : once);
    EXPECT_TRUE(ReadBytes(out) == twice);
    EXPECT_EQ(Cli({"export", format, "-o", out, "--replace"}).code, 0);
    EXPECT_TRUE(ReadBytes(out) == once);
  }
}

// More records than one run of the file: a file written a run at a time
// holds what standard output gets from the whole list (one header first).
TEST_F(CliTest, AnExportWrittenRunByRunIsTheExportOfTheWholeList) {
  std::vector<ContactRecord> many;
  for (int i = 0; i < 300; ++i) {
    const std::string n = std::to_string(i);
    many.push_back(With(Contact("1", "Name" + n, "Ann", "01-01-2000 " + n), i % 2 ? "Golf" : ""));
  }
  WriteData(many);
  for (const char* format : {"csv", "vcard", "native"}) {
    for (const Words& selection : {Words{}, Words{"--keyword", "Golf", "--search", "name2"}}) {
      Words args = {"export", format};
      args.insert(args.end(), selection.begin(), selection.end());
      SCOPED_TRACE(::testing::PrintToString(args));
      const CliOutcome whole = Cli(args);
      const std::string out = root.File(std::string("runs.") + format);
      std::filesystem::remove(out);
      args.insert(args.end(), {"-o", out});
      ASSERT_EQ(Cli(args).code, 0);
      EXPECT_TRUE(ReadBytes(out) == whole.out);
      EXPECT_GT(whole.out.size(), 2000u);
    }
  }
}

TEST_F(CliTest, NoExportOrReportIsWrittenOverAFileOfTheDataSet) {
  const auto before = Snapshot(ProgramFolder());
  for (const Words& args : {Words{"export", "native", "-o", Data("tabrel.dat"), "--replace"},
                            Words{"export", "dos", "-o", Data("keyword.dat"), "--replace"},
                            Words{"report", "text", "-o", Data("tabrel.dat")}}) {
    const CliOutcome run = Cli(args);
    EXPECT_EQ(run.code, 1) << args[0];
    EXPECT_NE(run.err.find("must not be written over it"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Snapshot(ProgramFolder()), before);
}

class CliImportTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    // Ann is newer, Acme older, Eve new.
    WriteFile(root.File("in.dat"), ContactBytes({Contact("1", "Baker", "Ann", "02-02-2002 7"),
                                                 Contact("2", "Acme", "", "12-12-1999 8"),
                                                 Contact("1", "Eve", "Eva", "05-05-2005 9")}));
  }
};

TEST_F(CliImportTest, ADryRunSaysWhatEachRecordWouldDoAndChangesNothing) {
  const auto before = Snapshot(root.path() + "xdg");
  const struct {
    Words options;
    const char* out;
  } cases[] = {
      {{},
       "replace 01-01-2000 1: Ann Baker / \nskip (duplicate of 01-01-2000 2):   / Acme\n"
       "add: Eva Eve / \n1 to add, 1 to replace, 1 to skip (duplicates).\n"},
      {{"--skip", "never"},
       "replace 01-01-2000 1: Ann Baker / \nreplace 01-01-2000 2:   / Acme\nadd: Eva Eve / \n"
       "1 to add, 2 to replace, 0 to skip (duplicates).\n"},
      {{"--skip", "always", "--duplicates", "name"},
       "skip (duplicate of 01-01-2000 1): Ann Baker / \nadd:   / Acme\nadd: Eva Eve / \n"
       "2 to add, 0 to replace, 1 to skip (duplicates).\n"},
      {{"--duplicates", "org", "--skip", "never"},
       "add: Ann Baker / \nreplace 01-01-2000 2:   / Acme\nadd: Eva Eve / \n"
       "2 to add, 1 to replace, 0 to skip (duplicates).\n"},
  };
  for (const auto& c : cases) {
    Words args = {"import", "native", "in.dat", "--dry-run"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliOutcome run = Cli(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.options);
  }
  WriteFile(Data("tabrel.bak"), Records());
  const auto with_backup = Snapshot(root.path() + "xdg");
  EXPECT_EQ(Cli({"import", "native", "in.dat", "--dry-run", "--yes"}).code, 0);
  EXPECT_EQ(Snapshot(root.path() + "xdg"), with_backup);
  std::filesystem::remove(Data("tabrel.bak"));
  EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
}

TEST_F(CliImportTest, TheImportDoesWhatTheDryRunSaid) {
  const CliOutcome dry = Cli({"import", "native", "in.dat", "--dry-run"});
  EXPECT_NE(dry.out.find("1 to add, 1 to replace, 1 to skip"), std::string::npos) << dry.out;
  // With a backup set, one of --yes and --no-backup is needed.
  WriteFile(Data("tabrel.bak"), Records());
  const CliOutcome asked = Cli({"import", "native", "in.dat"});
  EXPECT_TRUE(asked.err.ends_with(
      "\ntabrel-cli: Nothing was imported: give --yes to replace the backup set with the "
      "current data first, or --no-backup to import without replacing it.\n"))
      << asked.err;
  std::filesystem::remove(Data("tabrel.bak"));
  const CliOutcome run = Cli({"import", "native", "in.dat"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("1 record was added.\n1 record was replaced.\n1 duplicate was "
                         "skipped."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Stamps(Records()),
            (std::vector<std::string>{"02-02-2002 7", "01-01-2000 2", "03-03-2003 3",
                                      "04-04-2004 4", "05-05-2005 9"}));
  // No backup set existed, so the first one was made without a question.
  EXPECT_EQ(Stamps(ReadBytes(Data("tabrel.bak"))).size(), 4u);
}

// A backup set that cannot be made (tabrel.bak is a folder) stops the
// import, unless --no-backup (every format ends in the same FinishImport).
TEST_F(CliImportTest, AFailedBackupStopsTheImportUnlessNoBackup) {
  std::filesystem::create_directory(Data("tabrel.bak"));
  const std::string before = Records();
  const CliOutcome stopped = Cli({"import", "native", "in.dat", "--yes"});
  EXPECT_EQ(stopped.code, 1);
  EXPECT_NE(stopped.err.find("The backup set could not be made: Error "), std::string::npos)
      << stopped.err;
  EXPECT_NE(stopped.err.find("Give --no-backup"), std::string::npos);
  EXPECT_EQ(Records(), before);
  EXPECT_EQ(Cli({"import", "native", "in.dat", "--no-backup"}).code, 0);
  EXPECT_NE(Records(), before);

  // A full data set refuses the import and says so, whatever the flags.
  std::string full;
  for (std::size_t i = 0; i < layout::kMaxRecords; ++i) full += ContactBytes({records[2]});
  WriteFile(Data("tabrel.dat"), full);
  const CliOutcome refused = Cli({"import", "native", "in.dat", "--no-backup"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("more than the 32,767 records"), std::string::npos) << refused.err;
  EXPECT_EQ(Records(), full);
}

// The names of the records of a data set, in file order.
std::vector<std::string> NamesIn(const std::string& bytes) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at + layout::kContactRecordLength <= bytes.size();
       at += layout::kContactRecordLength) {
    const ContactRecord got = DecodeContact(bytes.substr(at));
    names.push_back(Trim(got.FirstName) + "|" + Trim(got.LastName) + "|" + Trim(got.Org));
  }
  return names;
}

TEST_F(CliTest, TextFormatsGoOutAndComeBackWithEveryNameAndADryRunChangesNothing) {
  // An organisation comes back under its organisation name only.
  const std::vector<std::string> expected = {"Ann|Baker|", "||Acme", "Cid|Cole|", "Ren\xE9|Dunn|"};
  const struct {
    Words export_args;
    const char* format;
  } cases[] = {
      {{"export", "csv"}, "csv"},
      {{"export", "ldif"}, "ldif"},
      {{"export", "agent"}, "agent"},
      {{"export", "vcard"}, "vcard"},
      {{"export", "vcard", "--version", "4.0"}, "vcard"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.export_args));
    Words export_args = c.export_args;
    const std::string file = "out" + std::to_string(n) + "." + c.format;
    export_args.insert(export_args.end(), {"-o", file});
    const CliOutcome exported = Cli(export_args);
    ASSERT_EQ(exported.code, 0) << exported.err;
    const std::string folder = "other" + std::to_string(n++);
    std::filesystem::create_directory(root.File(folder));

    // Agent entries carry no organisation: one without a name or an e-mail
    // address is left out.
    const bool agent = std::string(c.format) == "agent";
    const CliOutcome dry = Cli({"--data", folder, "import", c.format, file, "--dry-run"});
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_NE(dry.out.find(agent ? "3 to add, 0 to replace, 0 to skip (duplicates)."
                                 : "4 to add, 0 to replace, 0 to skip (duplicates)."),
              std::string::npos)
        << dry.out;
    EXPECT_TRUE(NamesIn(root.Read(folder + "/tabrel.dat")).empty()) << "a dry run adds nothing";

    const CliOutcome run = Cli({"--data", folder, "import", c.format, file});
    EXPECT_EQ(run.code, 0) << run.err;
    std::vector<std::string> names = NamesIn(root.Read(folder + "/tabrel.dat"));
    std::sort(names.begin(), names.end());
    std::vector<std::string> want = expected;
    std::sort(want.begin(), want.end());
    if (agent) want.erase(std::find(want.begin(), want.end(), "||Acme"));
    EXPECT_EQ(names, want);
  }
  // A vCard imported again is a duplicate of the record it made.
  const CliOutcome again = Cli({"--data", "other3", "import", "vcard", "out3.vcard", "--dry-run"});
  EXPECT_NE(again.out.find("0 to add, 0 to replace, 4 to skip (duplicates)."), std::string::npos)
      << again.out;
}

TEST_F(CliTest, ImportOptionsOfTheCommaTextAreTaken) {
  WriteFile(root.File("in.csv"), "First Name,Last Name\r\nJan,Kowalski\r\nEva,Nowak\r\n");
  std::filesystem::create_directory(root.File("other"));
  const CliOutcome run = Cli({"--data", "other", "import", "csv", "in.csv", "--type", "individual",
                              "--keyword", "Friends", "--map", "auto"});
  EXPECT_EQ(run.code, 0) << run.err;
  const std::string bytes = root.Read("other/tabrel.dat");
  ASSERT_EQ(bytes.size(), 2 * layout::kContactRecordLength);
  const ContactRecord first = DecodeContact(bytes);
  EXPECT_EQ(first.RecType, "1");
  EXPECT_EQ(Trim(first.FirstName) + " " + Trim(first.LastName), "Jan Kowalski");
  EXPECT_EQ(Trim(first.KW1), "Friends");
  // Without a header no column has a name to link it: nothing is added.
  std::filesystem::create_directory(root.File("plain"));
  const CliOutcome plain = Cli({"--data", "plain", "import", "csv", "in.csv", "--no-header"});
  EXPECT_EQ(plain.code, 1);
  EXPECT_NE(plain.err.find("No field is linked"), std::string::npos) << plain.err;
  EXPECT_EQ(root.Read("plain/tabrel.dat"), "");
  // Links by name, the header forced, the text read in the encoding given:
  // 0xE9 is "\xC3\xA9" in Latin-1, and stored as Windows-1252 0xE9.
  WriteFile(root.File("latin.csv"), "Jan,Kowalski,x@y.org\r\nRen\xE9,Nowak,z@y.org\r\n");
  for (const char* folder : {"mapped", "named"})
    std::filesystem::create_directory(root.File(folder));
  ASSERT_EQ(Cli({"--data", "mapped", "import", "csv", "latin.csv", "--map",
                 "LastName=2,FirstName=1,Notes=3", "--encoding", "iso-8859-1"})
                .code,
            0);
  const ContactRecord second = DecodeContact(root.Read("mapped/tabrel.dat").substr(1047));
  EXPECT_EQ(Trim(second.FirstName) + "|" + Trim(second.LastName) + "|" + Trim(second.Notes) + "|" +
                Trim(second.EMail),
            "Ren\xE9|Nowak|z@y.org|");
  // A header of no known names links nothing: no blank record is added.
  EXPECT_EQ(Cli({"--data", "named", "import", "csv", "latin.csv", "--header"}).code, 1);
  for (const Words& bad : {Words{"--map", "by-hand"}, Words{"--map", "Surname=1"},
                           Words{"--map", "LastName=0"}, Words{"--encoding", "klingon"}}) {
    Words args = {"import", "csv", "in.csv"};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(Cli(args).code, 2) << bad[1];
  }
  EXPECT_EQ(Cli({"export", "vcard", "--version", "2.1"}).code, 2);
  EXPECT_EQ(Cli({"import", "vcard", "-"}, "BEGIN:VCARD").code, 1);
  // --dry-run for every format: the counts, nothing written.
  EXPECT_EQ(Cli({"--data", "named", "import", "csv", "latin.csv", "--dry-run", "--no-header",
                 "--map", "LastName=2"})
                .out,
            "2 to add, 0 to replace, 0 to skip (duplicates).\n"
            "Not stored, no field holds them: column 1: 2; column 3: 2.\n");
  EXPECT_EQ(root.Read("named/tabrel.dat"), "");
}

TEST_F(CliTest, BackupMakesShowsAndRestoresTheBackupSetOnlyWhenTold) {
  const CliOutcome first = Cli({"backup"});
  EXPECT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.err, "New backup set created!\n");
  EXPECT_TRUE(ReadBytes(Data("tabrel.bak")) == Records());

  const std::string backup = Records();
  WriteData({Contact("1", "New", "Ned", "06-06-2006 6")});
  const auto before = Snapshot(root.path() + "xdg");
  for (const Words& args : {Words{"backup"}, Words{"backup", "--restore"}}) {
    const CliOutcome refused = Cli(args);
    EXPECT_EQ(refused.code, 1) << args.size();
    EXPECT_NE(refused.err.find("Nothing was changed: give --yes"), std::string::npos);
    EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
  }

  const CliOutcome status = Cli({"backup", "--status"});
  EXPECT_EQ(status.code, 0);
  EXPECT_NE(status.out.find("data set   " + ProgramFolder() + ": 1 records, 2 keywords"),
            std::string::npos)
      << status.out;
  EXPECT_NE(status.out.find("backup set " + ProgramFolder() + ": 4 records, 2 keywords"),
            std::string::npos);

  const CliOutcome restored = Cli({"backup", "--restore", "--yes"});
  EXPECT_EQ(restored.code, 0) << restored.err;
  EXPECT_NE(restored.err.find("Previous data restored!"), std::string::npos);
  EXPECT_TRUE(Records() == backup);
}

TEST_F(CliImportTest, WritingCommandsAreRefusedWhileAnotherCopyHoldsTheDataSet) {
  WriteFile(Data("tabrel.bak"), ContactBytes({Contact("1", "Old", "Oz", "01-01-1990 1")}));
  WriteFile(Data("keyword.bak"), "");
  WriteFile(root.File("other.dat"), ContactBytes({Contact("1", "Elm", "Eve", "06-06-2006 6")}));
  // The window holds the data set.
  auto held = std::make_optional(DataSetLock::Acquire(ProgramFolder()));
  ASSERT_TRUE(held->held());
  const auto before = Snapshot(root.path() + "xdg");
  for (const Words& args : {Words{"import", "native", "in.dat", "--yes"}, Words{"backup", "--yes"},
                            Words{"backup", "--restore", "--yes"}}) {
    const CliOutcome run = Cli(args);
    EXPECT_EQ(run.code, 1) << args[0];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("The data set in " + ProgramFolder() + " is open in another copy"),
              std::string::npos)
        << run.err;
  }
  EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
  // Reading commands still work, and so does writing another data set.
  for (const Words& args :
       {Words{"list"}, Words{"show", "01-01-2000 1"}, Words{"report", "phone"},
        Words{"export", "native"}, Words{"export", "dos", "-o", "out.dos"},
        Words{"backup", "--status"}, Words{"import", "native", "in.dat", "--dry-run"}}) {
    const CliOutcome run = Cli(args);
    EXPECT_EQ(run.code, 0) << args[0] << ": " << run.err;
  }
  std::filesystem::create_directory(root.File("other"));
  EXPECT_EQ(Cli({"--data", "other", "import", "native", "other.dat"}).code, 0);
  EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
  // Once the window lets go, the same import goes through.
  held.reset();
  const CliOutcome after = Cli({"import", "native", "in.dat", "--yes"});
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_EQ(Stamps(Records()).size(), 5u);
}

}  // namespace
}  // namespace tabrel
