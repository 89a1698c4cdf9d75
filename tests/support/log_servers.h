#pragma once
#include <memory>
#include <string>
#include <vector>

#include "support/log_agent.h"
#include "support/program_dir.h"

// A file-monitor log of lines lines, 14 fields each; tag is field 7 (chkfileinfo) of every line.
std::string qevSampleMonitorLog(int lines, const std::string& tag);

// Servers of table serverip for download tests: each one a scripted log agent on a loopback
// address of its own (127.0.0.1, 127.0.0.2, ...), serving a directory of its own. Needs the
// program directory of the test (its store) to exist.
class LogServers {
 public:
  static constexpr const char* kPassword = "pw";

  struct Server {
    std::string ip;
    TemporaryDir logs;
    std::unique_ptr<ScriptedLogAgent> agent;
    // Puts a log file into the directory the agent serves.
    void addLog(const std::string& name, const std::string& content) const;
    // The fetch requests the agent received so far.
    std::size_t fetches() const;
  };

  // Starts an agent on the address with these further options and adds its row to serverip.
  Server& add(const std::string& ip, const std::vector<std::string>& options = {});
  Server& operator[](std::size_t index) { return *servers_.at(index); }

 private:
  std::vector<std::unique_ptr<Server>> servers_;
};
