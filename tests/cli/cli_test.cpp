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
  std::vector<std::string> StampsOf(const std::string& out) const {
    std::vector<std::string> stamps;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
      stamps.push_back(line.substr(line.rfind('\t') + 1));
    return stamps;
  }

  std::vector<ContactRecord> records;
};

TEST_F(CliTest, ListPrintsOneTrimmedRowPerSelectedRecordInUtf8) {
  const CliOutcome all = Cli({"list"});
  EXPECT_EQ(all.code, 0) << all.err;
  EXPECT_EQ(all.err, "");
  EXPECT_EQ(all.out,
            "Baker, Ann\t\t\t\t\t\t\t\t\t\t01-01-2000 1\n"
            "Acme\t\t\t\t\t\t\t\t\t\t01-01-2000 2\n"
            "Cole, Cid\t\t\t\t\t\t\t\t\t\t03-03-2003 3\n"
            "Dunn, Ren\xC3\xA9\t\t\t\t\t\t\t\t\t\t04-04-2004 4\n");
}

TEST_F(CliTest, EverySelectionListsTheRecordsTheMainWindowWould) {
  const struct {
    Words args;
    std::vector<std::string> stamps;
  } cases[] = {
      {{"list", "--keyword", "Golf"}, {"01-01-2000 1"}},
      {{"list", "--no-keywords"}, {"03-03-2003 3", "04-04-2004 4"}},
      {{"list", "--search", "golf"}, {"04-04-2004 4"}},
      {{"list", "--search", "acme"}, {"01-01-2000 2"}},
      {{"list", "--keyword", "Work", "--search", "acme"}, {"01-01-2000 2"}},
      {{"list", "--search", "REN\xC3\x89"}, {"04-04-2004 4"}},
      {{"list", "--no-keywords", "--search", "golf"}, {"04-04-2004 4"}},
      {{"list", "--keyword", "Work", "--search", "golf"}, {}},
      {{"--personal", "list"}, {"03-03-2003 3"}},
      {{"list", "--public", "--no-keywords"}, {"04-04-2004 4"}},
      {{"list", "--keyword", "Nothing"}, {}},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.args);
    EXPECT_EQ(run.code, 0) << c.args[1] << run.err;
    EXPECT_EQ(StampsOf(run.out), c.stamps) << ::testing::PrintToString(c.args);
  }
  // A search reads no search file and leaves none.
  EXPECT_FALSE(std::filesystem::exists(Data("tabrel.tmp")));
}

TEST_F(CliTest, ShowPrintsEveryFieldOfTheRecordWithThatStamp) {
  const CliOutcome run = Cli({"show", "04-04-2004 4"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("LastName: Dunn\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("FirstName: Ren\xC3\xA9\n"), std::string::npos);
  EXPECT_NE(run.out.find("Notes: Likes golf\n"), std::string::npos);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 23);

  const CliOutcome missing = Cli({"show", "09-09-1999 9"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "tabrel-cli: No record has the stamp \"09-09-1999 9\".\n");
}

TEST_F(CliTest, ReportsAreTheBytesThePrintPreviewWritesForTheWholeList) {
  const auto folder = testing::TestDataFolder("reports");
  WriteFile(Data("tabrel.dat"),
            ContactBytes(testing::ParseContacts(ReadBytes(folder / "contacts.in"))));
  // The date of the preview's golden files: 7 March 2024.
  environment = {"SOURCE_DATE_EPOCH=1709773200"};
  const struct {
    Words args;
    const char* golden;
  } cases[] = {
      {{"report", "simple-phone"}, "whole_list_simple_phone"},
      {{"report", "phone"}, "whole_list_phone"},
      {{"report", "text"}, "whole_list_text"},
      {{"report", "html"}, "whole_list_html"},
      {{"report", "html", "--with-unlinked"}, "whole_list_html_with_unlinked"},
      {{"report", "labels"}, "whole_list_labels"},
      {{"report", "email"}, "whole_list_email"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.args);
    const std::string expected = ReadBytes(folder / (std::string(c.golden) + ".expected"));
    ASSERT_FALSE(expected.empty()) << c.golden;
    EXPECT_EQ(run.code, 0) << c.golden << run.err;
    EXPECT_TRUE(run.out == expected)
        << c.golden << ": " << testing::FirstDifference(expected, run.out);
  }
  const CliOutcome to_file = Cli({"report", "labels", "-o", "labels.txt"});
  EXPECT_EQ(to_file.code, 0) << to_file.err;
  EXPECT_EQ(to_file.out, "");
  EXPECT_TRUE(root.Read("labels.txt") == ReadBytes(folder / "whole_list_labels.expected"));
}

TEST_F(CliTest, ReportsAndExportsFollowTheSelection) {
  const CliOutcome report = Cli({"report", "simple-phone", "--keyword", "Golf"});
  EXPECT_EQ(report.code, 0);
  EXPECT_EQ(report.out, "\r\n\r\n");  // Ann has no phone
  const CliOutcome exported = Cli({"export", "native", "--no-keywords"});
  EXPECT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(Stamps(exported.out), (std::vector<std::string>{"03-03-2003 3", "04-04-2004 4"}));
}

TEST_F(CliTest, ExportsWriteTheStoredAndTheDosRecordsOfTheList) {
  const CliOutcome native = Cli({"export", "native"});
  EXPECT_EQ(native.code, 0) << native.err;
  EXPECT_TRUE(native.out == Records());
  const CliOutcome dos = Cli({"export", "dos"});
  EXPECT_EQ(dos.code, 0) << dos.err;
  std::string expected;
  for (const auto& record : records) AppendDosRecord(EncodeContact(record), expected);
  EXPECT_TRUE(dos.out == expected);
}

TEST_F(CliTest, AnExportToAFileHoldingRecordsAsksFirst) {
  ASSERT_EQ(Cli({"export", "native", "-o", "out.dat"}).code, 0);
  const std::string once = root.Read("out.dat");
  EXPECT_TRUE(once == Records());

  const CliOutcome refused = Cli({"export", "native", "-o", "out.dat"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("already holds 4 records"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("give --yes to add"), std::string::npos);
  EXPECT_TRUE(root.Read("out.dat") == once);

  const CliOutcome added = Cli({"export", "native", "-o", "out.dat", "--yes"});
  EXPECT_EQ(added.code, 0) << added.err;
  EXPECT_TRUE(root.Read("out.dat") == once + once);
  EXPECT_NE(added.err.find("now holds 8"), std::string::npos) << added.err;

  ASSERT_EQ(Cli({"export", "native", "-o", "out.dat", "--replace", "--keyword", "Golf"}).code, 0);
  EXPECT_EQ(Stamps(root.Read("out.dat")), (std::vector<std::string>{"01-01-2000 1"}));
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

TEST_F(CliTest, NativeExportThenImportIntoAnEmptyDataSetGivesTheSameRecords) {
  ASSERT_EQ(Cli({"export", "native", "-o", "all.dat"}).code, 0);
  std::filesystem::create_directory(root.File("other"));
  const CliOutcome run = Cli({"--data", "other", "import", "native", "all.dat"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("4 records were added.\n0 records were replaced."), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("2 keywords were added."), std::string::npos);
  EXPECT_TRUE(root.Read("other/tabrel.dat") == Records());
  EXPECT_TRUE(root.Read("other/keyword.dat") == Keyword("Golf") + Keyword("Work"));
}

TEST_F(CliTest, DosExportThenImportThroughAPipeKeepsWhatDosRecordsCarry) {
  const CliOutcome exported = Cli({"export", "dos"});
  ASSERT_EQ(exported.code, 0);
  std::filesystem::create_directory(root.File("other"));
  const CliOutcome run = Cli({"--data", "other", "import", "dos", "-"}, exported.out);
  EXPECT_EQ(run.code, 0) << run.err;
  const std::string imported = root.Read("other/tabrel.dat");
  ASSERT_EQ(imported.size(), Records().size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ContactRecord got = DecodeContact(imported.substr(i * layout::kContactRecordLength));
    EXPECT_EQ(Trim(got.LastName), Trim(records[i].LastName));
    EXPECT_EQ(Trim(got.FirstName), Trim(records[i].FirstName));
    EXPECT_EQ(Trim(got.Org), Trim(records[i].Org));
    EXPECT_EQ(got.RecType, records[i].RecType);
    EXPECT_EQ(Trim(got.Modified), Trim(records[i].Modified));
    EXPECT_EQ(Trim(got.KW1), Trim(records[i].KW1));
  }
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
       "replace 01-01-2000 1\nskip (duplicate of 01-01-2000 2)\nadd\n"
       "1 to add, 1 to replace, 1 to skip (duplicates).\n"},
      {{"--skip", "never"},
       "replace 01-01-2000 1\nreplace 01-01-2000 2\nadd\n"
       "1 to add, 2 to replace, 0 to skip (duplicates).\n"},
      {{"--skip", "always", "--duplicates", "name"},
       "skip (duplicate of 01-01-2000 1)\nadd\nadd\n"
       "2 to add, 0 to replace, 1 to skip (duplicates).\n"},
      {{"--duplicates", "org", "--skip", "never"},
       "add\nreplace 01-01-2000 2\nadd\n2 to add, 1 to replace, 0 to skip (duplicates).\n"},
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
  const CliOutcome run = Cli({"import", "native", "in.dat"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("1 records were added.\n1 records were replaced.\n1 duplicates were "
                         "skipped."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Stamps(Records()),
            (std::vector<std::string>{"02-02-2002 7", "01-01-2000 2", "03-03-2003 3",
                                      "04-04-2004 4", "05-05-2005 9"}));
  // No backup set existed, so the first one was made without a question.
  EXPECT_EQ(Stamps(ReadBytes(Data("tabrel.bak"))).size(), 4u);
}

TEST_F(CliImportTest, WithABackupSetTheImportNeedsAnAnswerToTheBackupQuestion) {
  WriteFile(Data("tabrel.bak"), ContactBytes({Contact("1", "Old", "Oz", "01-01-1990 1")}));
  WriteFile(Data("keyword.bak"), "");
  const auto before = Snapshot(root.path() + "xdg");
  const CliOutcome refused = Cli({"import", "native", "in.dat"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("Do you wish to replace the existing backup set"), std::string::npos);
  EXPECT_NE(refused.err.find("Nothing was imported: give --yes"), std::string::npos) << refused.err;
  // Only the lock file the import took is new; it holds nothing.
  auto locked = before;
  locked[Data("tabrel.lck")] = "";
  EXPECT_EQ(Snapshot(root.path() + "xdg"), locked);

  const CliOutcome kept = Cli({"import", "native", "in.dat", "--no-backup"});
  EXPECT_EQ(kept.code, 0) << kept.err;
  EXPECT_EQ(Stamps(ReadBytes(Data("tabrel.bak"))), (std::vector<std::string>{"01-01-1990 1"}));
  EXPECT_EQ(Stamps(Records()).size(), 5u);

  const std::string imported = Records();
  const CliOutcome replaced =
      Cli({"import", "native", "in.dat", "--yes", "--duplicates", "name", "--skip", "never"});
  EXPECT_EQ(replaced.code, 0) << replaced.err;
  EXPECT_TRUE(ReadBytes(Data("tabrel.bak")) == imported);
}

TEST_F(CliImportTest, AFileOfNoWholeRecordsIsRefusedAndTheDataIsAsItWas) {
  const auto before = Snapshot(root.path() + "xdg");
  WriteFile(root.File("short.dat"), std::string(1046, ' '));
  const CliOutcome run = Cli({"import", "native", "short.dat"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err,
            "tabrel-cli: This file does not contain Tabrel 3 records, or they are corrupt\n");
  const CliOutcome piped = Cli({"import", "dos", "-", "--dry-run"}, std::string(534, ' '));
  EXPECT_EQ(piped.code, 1);
  EXPECT_EQ(piped.err,
            "tabrel-cli: This file does not contain DOS Tabrel records, or they are corrupt\n");
  const CliOutcome missing = Cli({"import", "native", "nowhere.dat"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("nowhere.dat"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("Nothing was imported; your data is unchanged."), std::string::npos);
  EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
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
  // Without a header the first line is a record too.
  std::filesystem::create_directory(root.File("plain"));
  ASSERT_EQ(Cli({"--data", "plain", "import", "csv", "in.csv", "--no-header"}).code, 0);
  EXPECT_EQ(root.Read("plain/tabrel.dat").size(), 3 * layout::kContactRecordLength);
  EXPECT_EQ(Cli({"import", "csv", "in.csv", "--map", "by-hand"}).code, 2);
  EXPECT_EQ(Cli({"export", "vcard", "--version", "2.1"}).code, 2);
  EXPECT_EQ(Cli({"import", "vcard", "-"}, "BEGIN:VCARD").code, 1);
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

TEST_F(CliTest, UsageErrorsExitWithTwoAndTouchNothing) {
  const auto before = Snapshot(root.path() + "xdg");
  const struct {
    Words args;
    const char* message;
  } cases[] = {
      {{}, "no command given"},
      {{"lsit"}, "unknown command 'lsit'"},
      {{"list", "--yes"}, "unknown option '--yes' for list"},
      {{"list", "--keyword"}, "--keyword needs a value"},
      {{"show"}, "show takes STAMP"},
      {{"report", "pie"}, "unknown report kind 'pie'"},
      {{"export", "xml"}, "unknown format 'xml'"},
      {{"import", "native"}, "import takes FORMAT FILE|-"},
      {{"import", "native", "a", "--skip", "sometimes"}, "--skip takes never, always or older"},
      {{"--public", "--personal", "list"}, "--public and --personal exclude each other"},
      {{"backup", "--status", "--restore"}, "--status and --restore exclude each other"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.args);
    EXPECT_EQ(run.code, 2) << c.message;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("tabrel-cli: " + std::string(c.message), 0), 0u) << run.err;
  }
  EXPECT_EQ(Snapshot(root.path() + "xdg"), before);
}

TEST_F(CliTest, EveryCommandHasItsHelp) {
  for (const char* command : {"list", "show", "report", "export", "import", "backup"}) {
    const CliOutcome run = Cli({command, "--help"});
    EXPECT_EQ(run.code, 0) << command;
    EXPECT_EQ(run.out.rfind("Usage: tabrel-cli [--data DIR] [--public | --personal] " +
                                std::string(command) + " ",
                            0),
              0u)
        << run.out;
  }
  const CliOutcome general = Cli({"--help"});
  EXPECT_EQ(general.code, 0);
  EXPECT_NE(general.out.find("Commands:"), std::string::npos);
}

TEST_F(CliTest, AMissingDataFolderFailsWithItsName) {
  const CliOutcome run = Cli({"--data", "/nonexistent/place", "list"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("/nonexistent/place/"), std::string::npos) << run.err;
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
