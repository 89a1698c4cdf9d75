#pragma once
// Shared by the agent client's tests: a directory of log files served by the scripted log agent
// on 127.0.0.1, raw answers written to files, and a session opened with short time-outs.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

#include "maintenance/logs/agent_fetch.h"
#include "maintenance/logs/agent_listing.h"
#include "maintenance/logs/agent_session.h"
#include "support/files.h"
#include "support/log_agent.h"
#include "support/program_dir.h"

// Short enough for a test to wait them out: a silent agent fails after 1.5 s, a trickling one
// (a byte a second) after 4 s.
inline constexpr AgentTimeouts kTestTimeouts{2'000, 1'500, 4'000};
inline constexpr const char* kPassword = "pw";

inline std::string crcOf(const std::string& bytes) {
  const uLong crc = crc32_z(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
  return std::to_string(crc);
}

class AgentTest : public ::testing::Test {
 protected:
  void addLog(const std::string& name, const std::string& content) { writeFile(logs_.path() + "/" + name, content); }

  // A file holding a raw answer, for --answer STEP:FILE.
  std::string answerFile(const std::string& bytes) {
    const std::string path = scratch_.path() + "/answer" + std::to_string(++answers_);
    writeFile(path, bytes);
    return path;
  }

  ScriptedLogAgent& startAgent(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> arguments = {"--dir", logs_.path(), "--password", kPassword};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    agent_ = std::make_unique<ScriptedLogAgent>(arguments);
    return *agent_;
  }

  // Opens a session with the running agent; fails the test when it cannot.
  AgentSession openSession(const std::string& password = kPassword) {
    AgentSession session;
    EXPECT_EQ(qevOpenAgentSession("127.0.0.1", agent_->port(), password, session, kTestTimeouts), 1);
    return session;
  }

  // The files a list step hands out (and the step's result).
  std::vector<AgentLogFile> listFiles(const AgentSession& session, int& result) {
    std::vector<AgentLogFile> files;
    result = qevListAgentLogFiles(session, [&files](const AgentLogFile& file) { files.push_back(file); });
    return files;
  }

  // How many fetch requests the agent has received.
  std::size_t fetchRequests() const {
    std::size_t count = 0;
    for (const std::string& request : agent_->requests())
      count += request.find("\tgetfilemonlogfile\t") != std::string::npos;
    return count;
  }

  TemporaryDir logs_;
  TemporaryDir scratch_;
  int answers_ = 0;
  std::unique_ptr<ScriptedLogAgent> agent_;
};
