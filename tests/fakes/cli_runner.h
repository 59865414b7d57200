#pragma once

// Runs the built tabrel-cli in a folder of its own, with the program folder
// under a temporary XDG_DATA_HOME, and collects what it wrote.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "fakes/temp_dir.h"

namespace tabrel::testing {

struct CliOutcome {
  int code = -1;
  std::string out;
  std::string err;
};

class CliRunner {
 public:
  CliRunner() { std::filesystem::create_directories(ProgramFolder()); }

  // The folder the program works in: `tabrel` under XDG_DATA_HOME.
  std::string ProgramFolder() const { return root.path() + "xdg/tabrel/"; }
  std::string WorkFolder() const { return root.path(); }

  // Runs tabrel-cli with `args`, `input` on its stdin.
  CliOutcome Cli(const std::vector<std::string>& args, const std::string& input = "") const {
    const std::string in = root.File(".stdin"), out = root.File(".stdout"),
                      err = root.File(".stderr");
    root.Write(".stdin", input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, root.path().c_str());
    std::vector<std::string> words = {TABREL_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_words = {"XDG_DATA_HOME=" + root.path() + "xdg",
                                          "HOME=" + root.path(), "LC_ALL=C"};
    env_words.insert(env_words.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& word : env_words) envp.push_back(word.data());
    envp.push_back(nullptr);
    CliOutcome outcome;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = root.Read(".stdout");
    outcome.err = root.Read(".stderr");
    return outcome;
  }

  TempDir root;
  std::vector<std::string> environment;  // more NAME=value pairs
};

}  // namespace tabrel::testing
