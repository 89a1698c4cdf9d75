#include "support/log_agent.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace {

std::string requestLogOf(const TemporaryDir& scratch) { return scratch.path() + "/requests"; }

}  // namespace

ScriptedLogAgent::ScriptedLogAgent(const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {SORREL_LOG_AGENT, "--port", "0", "--requests", requestLogOf(scratch_)};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    pid_ = -1;
    throw std::runtime_error("cannot start " + words[0]);
  }
  // The first line tells the port once the agent has made its streams and listens.
  FILE* output = fdopen(pipeFds[0], "r");
  char line[64] = {};
  const bool ready = output != nullptr && std::fgets(line, sizeof line, output) != nullptr &&
                     std::sscanf(line, "port %d", &port_) == 1;
  if (output != nullptr)
    std::fclose(output);
  else
    close(pipeFds[0]);
  if (!ready) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    throw std::runtime_error("the scripted log agent did not start");
  }
}

ScriptedLogAgent::~ScriptedLogAgent() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::vector<std::string> ScriptedLogAgent::requests() const {
  std::ifstream in(requestLogOf(scratch_), std::ios::binary);
  std::vector<std::string> requests;
  for (std::string line; std::getline(in, line);) requests.push_back(line);
  return requests;
}
