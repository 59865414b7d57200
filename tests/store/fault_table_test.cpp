// Every step of every change to the data set's files fails once, in turn:
// afterwards each file holds exactly its old bytes or exactly its new ones,
// and what the change reports says which.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "exchange/export_target.h"
#include "exchange/importing/record_import.h"
#include "fakes/contact_files.h"
#include "fakes/fake_dialogs.h"
#include "store/backup.h"
#include "store/contact_insert.h"
#include "store/contact_sort.h"
#include "store/data_set.h"
#include "store/keyword_file.h"
#include "store/settings_record.h"
#include "store/ui_state.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::Keyword;
using Files = std::map<std::string, std::string>;

// What a change reported.
struct Outcome {
  Status status = Status::Ok();
  std::vector<GroupCommit::LeftNew> left_new;  // files left changed by a failed change
  bool landed = false;                         // an in-place write reached the file
};

Outcome Of(const Status& status) {
  return {status, {}, false};
}
Outcome Of(const GroupCommit& commit) {
  return {commit.status, commit.left_new, false};
}

struct Change {
  const char* name;
  std::function<Outcome(AppState&)> run;
};

const Change kChanges[] = {
    {"delete",
     [](AppState& s) {
       s.editor_record.Modified = "01-01-2000 2";
       return Of(DeleteRecord(s));
     }},
    {"insert", [](AppState& s) { return Of(InsertInNameOrder(s, Contact("1", "Bell", "", "n"))); }},
    {"sort", [](AppState& s) { return Of(SortContactFile(s)); }},
    {"save in place",
     [](AppState& s) {
       const InPlaceWrite written = SaveRecordAt(s, 2, Contact("1", "Cole", "Cy", "new stamp"));
       return Outcome{written.status, {}, written.landed};
     }},
    {"keyword add", [](AppState& s) { return Of(AppendKeyword(s, "Chess")); }},
    {"keyword sort", [](AppState& s) { return Of(SortKeywordFile(s)); }},
    {"keyword merge", [](AppState& s) { return Of(MergeKeywordFile(s)); }},
    {"keyword rename", [](AppState& s) { return Of(RenameKeyword(s, "Golf", "Tennis")); }},
    {"keyword delete",
     [](AppState& s) {
       KeywordChange change(s);
       if (Status st = change.StageDeleteEntry("Golf"); !st.ok()) return Of(st);
       if (Status st = change.StageRemoveFromRecords("Golf"); !st.ok()) return Of(st);
       return Of(change.Commit());
     }},
    {"import",
     [](AppState& s) {
       auto import = RecordImport::Open(s, {}, {2024, 3, 14, 41234.56});
       if (!import.ok()) return Of(import.status());
       auto chess = Contact("1", "Bell", "Bo", "02-02-2002 1");
       chess.KW1 = Keyword("Chess");
       import.value().Take(ImportKind::kNative, EncodeContact(chess));
       import.value().Take(ImportKind::kNative,
                           EncodeContact(Contact("1", "Adams", "Al", "03-03-2003 2")));
       return Of(import.value().Commit().written);
     }},
    {"export",
     [](AppState& s) {
       testing::FakeDialogs dialogs;
       const std::string record = EncodeContact(Contact("1", "Bell", "Bo", "02-02-2002 1"));
       const std::string_view pieces[] = {record};
       return Of(ExportTargets(s, dialogs).Write({s.ProgramFile("export.dat"), "", 0}, pieces));
     }},
    {"backup", [](AppState& s) { return Of(CopyLiveToBackup(s)); }},
    {"restore", [](AppState& s) { return Of(CopyBackupToLive(s)); }},
    {"settings",
     [](AppState& s) {
       SettingsRecord settings = DefaultSettings();
       settings.PrintLines = 42;
       return Of(WriteSettingsFile(s.program_folder, settings, &s.write_fault));
     }},
    {"window places",
     [](AppState& s) {
       UiState places;
       places.SetGeometry("main window", {1, 2, 640, 480, false});
       return Of(places.Save(s.ProgramFile(kUiStateFileName), s.write_fault));
     }},
};

class FaultTableTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void WriteStart() {
    auto golfer = Contact("1", "Zorn", "Zoe", "01-01-2000 1");
    golfer.KW2 = Keyword("Golf");
    testing::WriteContacts(data, {golfer, Contact("1", "Adams", "Al", "01-01-2000 2"),
                                  Contact("2", "Acme", "", "01-01-2000 3")});
    data.Write("tabrel.dat", data.Read("tabrel.dat") + "tail");
    testing::WriteKeywords(data, {"Work", "Golf", "Friends"});
    testing::WriteContacts(data, {Contact("1", "Old", "Otto", "01-01-1990 1")}, "tabrel.bak");
    data.Write("keyword.bak", Keyword("Old"));
    program.Write("keyword.tmp", Keyword("Chess") + Keyword("Work"));
    program.Write("tr30.ini", EncodeSettings(DefaultSettings()));
    program.Write(kUiStateFileName, "[main window]\nx=5\n");
    program.Write("export.dat", "an earlier export");
  }
  Files Snapshot() const {
    Files files;
    for (const testing::TempDir* dir : {&program, &data}) {
      for (const std::string& name : testing::FileNames(*dir))
        files[dir->File(name)] = dir->Read(name);
    }
    return files;
  }
  // The files before and after `change` runs without a failure.
  std::pair<Files, Files> BeforeAndAfter(const Change& change) {
    WriteStart();
    const Files before = Snapshot();
    state.write_fault = nullptr;
    EXPECT_TRUE(change.run(state).status.ok());
    const Files after = Snapshot();
    EXPECT_NE(before, after) << "a change that changes nothing proves nothing";
    return {before, after};
  }
  // The files must be what `outcome` says they are.
  void Expect(const Outcome& outcome, const Files& before, const Files& after) const {
    const Files now = Snapshot();
    if (outcome.status.ok() || outcome.landed) {
      EXPECT_EQ(now, after);
      return;
    }
    Files expected = before;
    for (const GroupCommit::LeftNew& file : outcome.left_new) {
      expected[file.path] = after.at(file.path);
      expected[file.old_copy] = before.at(file.path);
    }
    EXPECT_EQ(now, expected) << outcome.status.ErrorLine();
  }
};

TEST_F(FaultTableTest, EachFailingStepLeavesTheOldFilesOrTellsExactlyWhatChanged) {
  for (const Change& change : kChanges) {
    SCOPED_TRACE(change.name);
    const auto [before, after] = BeforeAndAfter(change);
    int failing = 1;
    for (;; ++failing) {
      SCOPED_TRACE(failing);
      WriteStart();
      int step = 0;
      state.write_fault = [&](RewriteStep) { return ++step == failing; };
      const Outcome outcome = change.run(state);
      Expect(outcome, before, after);
      if (outcome.status.ok()) break;
      EXPECT_TRUE(outcome.left_new.empty()) << "a single failure is always undone";
    }
    EXPECT_GT(failing, 2) << "every change has steps that can fail";
  }
}

TEST_F(FaultTableTest, WhenTheUndoFailsTooTheChangedFilesAndTheirOldCopiesAreNamed) {
  for (const Change& change : kChanges) {
    SCOPED_TRACE(change.name);
    const auto [before, after] = BeforeAndAfter(change);
    WriteStart();
    // Every rename after the first fails, and so does every undo.
    int renames = 0;
    state.write_fault = [&](RewriteStep step) {
      return (step == RewriteStep::kRename && ++renames > 1) || step == RewriteStep::kUndo;
    };
    const Outcome outcome = change.run(state);
    Expect(outcome, before, after);
    const bool pair = std::string(change.name) == "keyword rename" ||
                      std::string(change.name) == "keyword delete" ||
                      std::string(change.name) == "import" ||
                      std::string(change.name) == "backup" || std::string(change.name) == "restore";
    EXPECT_EQ(outcome.left_new.size(), pair ? 1u : 0u);
  }
}

}  // namespace
}  // namespace tabrel
