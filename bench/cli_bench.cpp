// The command line, timed as a script meets it: from the process start to
// the last byte read from its standard output through a pipe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks.h"
#include "scratch.h"

extern char** environ;

namespace tabrel::bench {
namespace {

// Runs tabrel-cli with `args`, reads all it writes; false when it fails.
bool RunCli(const std::vector<std::string>& args, std::size_t& bytes) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
  // Its reports on standard error would bury the figures.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
  std::vector<std::string> words = {TABREL_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_ends[1]);
  bytes = 0;
  char buffer[1 << 16];
  for (ssize_t n; started && (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    bytes += static_cast<std::size_t>(n);
  }
  ::close(pipe_ends[0]);
  int status = 0;
  if (!started || ::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void RunTimed(benchmark::State& state, const std::vector<std::string>& args) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    if (!RunCli(args, bytes)) {
      state.SkipWithError("tabrel-cli failed");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// One process start and its help text: what every run costs before it
// reads a record.
void BM_CliHelp(benchmark::State& state) {
  RunTimed(state, {"--help"});
}

void BM_CliList(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  RunTimed(state, {"--data", data.folder(), "list"});
  state.SetItemsProcessed(state.iterations() * data.count());
}

void BM_CliReportPhone(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  RunTimed(state, {"--data", data.folder(), "report", "phone"});
  state.SetItemsProcessed(state.iterations() * data.count());
}

// Every record to a new vCard 3.0 file, written and made durable: what
// bench/abook_vcard.sh times abook against (its conversion of the same
// cards from its own file).
void BM_CliExportVcard(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const Scratch out(data, "");
  const std::string file = out.folder() + "cards.vcf";
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code ec;
    std::filesystem::remove(file, ec);
    state.ResumeTiming();
    if (!RunCli({"--data", data.folder(), "export", "vcard", "-o", file}, bytes)) {
      state.SkipWithError("tabrel-cli export failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * data.count());
}

// The same cards into an empty data set: read, every card a record, both
// data files written and made durable.
void BM_CliImportVcard(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const Scratch into(data, "");
  const std::string file = into.folder() + "cards.vcf";
  std::size_t bytes = 0;
  if (!RunCli({"--data", data.folder(), "export", "vcard", "-o", file}, bytes)) {
    state.SkipWithError("the vCard file could not be written");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    if (!into.Reset()) {
      state.SkipWithError("the scratch data set could not be written");
      return;
    }
    state.ResumeTiming();
    if (!RunCli({"--data", into.folder(), "import", "vcard", file, "--no-backup"}, bytes)) {
      state.SkipWithError("tabrel-cli import failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * data.count());
}

}  // namespace

void RegisterCliBenchmarks(BenchDataSet& data) {
  // The work is in the child process: only wall time says what it took.
  benchmark::RegisterBenchmark("BM_CliHelp", BM_CliHelp)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_CliList", BM_CliList, std::ref(data))
      ->Arg(data.count())
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_CliReportPhone", BM_CliReportPhone, std::ref(data))
      ->Arg(data.count())
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_CliExportVcard", BM_CliExportVcard, std::ref(data))
      ->Arg(data.count())
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_CliImportVcard", BM_CliImportVcard, std::ref(data))
      ->Arg(data.count())
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace tabrel::bench
