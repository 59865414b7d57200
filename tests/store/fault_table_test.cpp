// Every step of every change to the data set's files fails once, in turn,
// and the process is killed at every step, in turn: after the next open
// each file holds exactly its old bytes or exactly its new ones, nothing is
// left over, and what the change and the open report says which.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>

#include "exchange/export_target.h"
#include "exchange/importing/record_import.h"
#include "fakes/contact_files.h"
#include "fakes/fake_dialogs.h"
#include "store/backup.h"
#include "store/commit_record.h"
#include "store/contact_insert.h"
#include "store/contact_sort.h"
#include "store/data_set.h"
#include "store/data_set_lock.h"
#include "store/keyword_file.h"
#include "store/settings_record.h"
#include "store/ui_state.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::Keyword;
using Files = std::map<std::string, std::string>;
constexpr const char* kCompleted = "An interrupted change was completed.";

// The names of the files that differ, for a short failure message.
std::string Differ(const Files& a, const Files& b) {
  std::string names;
  for (const auto& [name, bytes] : a) {
    if (!b.contains(name) || b.at(name) != bytes) names += " " + name;
  }
  for (const auto& [name, bytes] : b) {
    if (!a.contains(name)) names += " +" + name;
  }
  return names;
}

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
  // Writes only in the program folder: what a kill leaves there goes at the
  // next write of the same file, not at the data set's next open.
  bool outside_data_set = false;
};

// Four files as one change, as the server sync commits its state: two
// replaced, two made.
GroupCommit CommitFour(AppState& s) {
  StagedRewrite files[4];
  const char* names[] = {"tabrel.dat", "keyword.dat", "sync.state", "stamps.journal"};
  std::vector<StagedRewrite*> all;
  for (int i = 0; i < 4; ++i) {
    if (Status st =
            files[i].Stage(s.DataFile(names[i]), std::string(names[i]) + " new", s.write_fault);
        !st.ok()) {
      return {st, {}};
    }
    all.push_back(&files[i]);
  }
  return GroupCommit::Run(all);
}

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
    {"import written ahead",
     [](AppState& s) {
       auto import = RecordImport::Open(s, {}, {2024, 3, 14, 41234.56}, true);
       if (!import.ok()) return Of(import.status());
       import.value().Take(ImportKind::kNative,
                           EncodeContact(Contact("1", "Adams", "Al", "03-03-2003 2")));
       // Two batches written before the commit, and a third part.
       for (int i = 0; i < 2100; ++i) {
         import.value().Take(ImportKind::kNative,
                             EncodeContact(Contact("1", "New" + std::to_string(i), "", "")));
       }
       return Of(import.value().Commit().written);
     }},
    {"export",
     [](AppState& s) {
       testing::FakeDialogs dialogs;
       const std::string record = EncodeContact(Contact("1", "Bell", "Bo", "02-02-2002 1"));
       const std::string_view pieces[] = {record};
       return Of(ExportTargets(s, dialogs).Write({s.ProgramFile("export.dat"), "", 0}, pieces));
     },
     true},
    {"backup", [](AppState& s) { return Of(CopyLiveToBackup(s)); }},
    {"restore", [](AppState& s) { return Of(CopyBackupToLive(s)); }},
    {"settings",
     [](AppState& s) {
       SettingsRecord settings = DefaultSettings();
       settings.PrintLines = 42;
       return Of(WriteSettingsFile(s.program_folder, settings, &s.write_fault));
     },
     true},
    {"window places",
     [](AppState& s) {
       UiState places;
       places.SetGeometry("main window", {1, 2, 640, 480, false});
       return Of(places.Save(s.ProgramFile(kUiStateFileName), s.write_fault));
     },
     true},
    {"four files", [](AppState& s) { return Of(CommitFour(s)); }},
};

class FaultTableTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void WriteStart() {
    for (const testing::TempDir* dir : {&program, &data}) {
      for (const std::string& name : testing::FileNames(*dir))
        std::filesystem::remove(dir->File(name));
    }
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
      for (const std::string& name : testing::FileNames(*dir)) {
        if (name != kLockFileName) files[dir->File(name)] = dir->Read(name);
      }
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
  // What the next writer's open of the data set said.
  std::string NextOpen() {
    const DataSetLock lock = DataSetLock::Acquire(data.path());
    EXPECT_TRUE(lock.held()) << lock.status().description();
    return lock.recovered();
  }
  // The files must be what `outcome` says they are, after the next open.
  void Expect(const Outcome& outcome, const Files& before, const Files& after) {
    // A failure reported is undone at once; only a commit file that could
    // not be removed is left, for the next open.
    const std::string said = NextOpen();
    EXPECT_TRUE(said.empty() || (outcome.status.ok() && said == kCompleted)) << said;
    const Files now = Snapshot();
    if (outcome.status.ok() || outcome.landed) {
      EXPECT_TRUE(now == after) << Differ(now, after);
      return;
    }
    Files expected = before;
    for (const GroupCommit::LeftNew& file : outcome.left_new) {
      expected[file.path] = after.at(file.path);
      expected[file.old_copy] = before.at(file.path);
    }
    EXPECT_TRUE(now == expected) << Differ(now, expected) << outcome.status.ErrorLine();
  }
};

std::size_t OpenFiles() {
  return static_cast<std::size_t>(std::distance(
      std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

TEST_F(FaultTableTest, EachFailingStepLeavesTheOldFilesOrTellsExactlyWhatChanged) {
  const std::size_t open_files = OpenFiles();
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
  EXPECT_EQ(OpenFiles(), open_files) << "every failed step closes its files";
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
    const std::string name = change.name;
    const bool group = name == "keyword rename" || name == "keyword delete" ||
                       name.starts_with("import") || name == "backup" || name == "restore" ||
                       name == "four files";
    EXPECT_EQ(outcome.left_new.size(), group ? 1u : 0u);
    if (!group) continue;
    // The files and their old copies stay as the change said, for the next
    // open to put back.
    for (const GroupCommit::LeftNew& file : outcome.left_new) {
      EXPECT_EQ(Snapshot().at(file.path), after.at(file.path));
      EXPECT_EQ(Snapshot().at(file.old_copy), before.at(file.path));
    }
    EXPECT_EQ(NextOpen(), "An interrupted change was undone.");
    EXPECT_TRUE(Snapshot() == before) << Differ(Snapshot(), before);
  }
}

// The change runs in a child process that dies at its `kill`-th step; false
// when it ran to the end first.
bool KilledAt(const Change& change, AppState& state, int kill) {
  const pid_t child = ::fork();
  if (child == 0) {
    int step = 0;
    state.write_fault = [&](RewriteStep) {
      if (++step == kill) ::_exit(0);
      return false;
    };
    change.run(state);
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(FaultTableTest, AKillAtAnyStepLeavesTheOldFilesOrTheNewOnesAfterTheNextOpen) {
  for (const Change& change : kChanges) {
    SCOPED_TRACE(change.name);
    const auto [before, after] = BeforeAndAfter(change);
    int kill = 1;
    for (;; ++kill) {
      SCOPED_TRACE(kill);
      WriteStart();
      if (!KilledAt(change, state, kill)) break;
      const bool pending = data.Exists(kCommitFileName);
      const std::string said = NextOpen();
      if (change.outside_data_set) {
        // The old file or the new one beside a temporary file, which the
        // next write of the same file clears.
        Files named = Snapshot();
        std::erase_if(named,
                      [](const auto& file) { return file.first.find(".new-") != file.first.npos; });
        EXPECT_TRUE(named == before || named == after) << Differ(named, after);
        state.write_fault = nullptr;
        ASSERT_TRUE(change.run(state).status.ok());
        EXPECT_TRUE(Snapshot() == after) << Differ(Snapshot(), after);
        continue;
      }
      const Files now = Snapshot();
      EXPECT_TRUE(now == before || now == after)
          << Differ(now, before) << " /" << Differ(now, after);
      if (!pending) {
        EXPECT_EQ(said, "");
      } else {
        EXPECT_EQ(said, now == after ? kCompleted : "An interrupted change was undone.");
      }
    }
    EXPECT_GT(kill, 2);
  }
}

}  // namespace
}  // namespace tabrel
