#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/program_dir.h"

// The scripted log agent (tests/support/log_agent) as a process of the test: started on a free
// port of 127.0.0.1 with the given options (see the usage comment of the program), ended and
// reaped when the object goes away.
class ScriptedLogAgent {
 public:
  // Adds --port 0 and --requests, starts the program and waits until it serves. Throws when it
  // does not start.
  explicit ScriptedLogAgent(const std::vector<std::string>& arguments);
  ~ScriptedLogAgent();
  ScriptedLogAgent(const ScriptedLogAgent&) = delete;
  ScriptedLogAgent& operator=(const ScriptedLogAgent&) = delete;

  int port() const { return port_; }
  // Every complete request the agent received so far, as received, in order.
  std::vector<std::string> requests() const;

 private:
  TemporaryDir scratch_;
  pid_t pid_ = -1;
  int port_ = 0;
};
