#include "support/log_servers.h"

#include <gtest/gtest.h>

#include "common/store/datastore.h"
#include "support/files.h"

std::string qevSampleMonitorLog(int lines, const std::string& tag) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += "0\t2026-01-0" + std::to_string(i % 9 + 1) + "\t10:00:0" + std::to_string(i % 10) + "\t.php\tadd\t5\t1\t" +
            tag + "\t0\t-\t/srv/www/x.php\t12\tabc\t1\r\n";
  }
  return text;
}

void LogServers::Server::addLog(const std::string& name, const std::string& content) const {
  writeFile(logs.path() + "/" + name, content);
}

std::size_t LogServers::Server::fetches() const {
  std::size_t count = 0;
  for (const std::string& request : agent->requests()) count += request.find("\tgetfilemonlogfile\t") != std::string::npos;
  return count;
}

LogServers::Server& LogServers::add(const std::string& ip, const std::vector<std::string>& options) {
  auto server = std::make_unique<Server>();
  server->ip = ip;
  std::vector<std::string> arguments = {"--dir", server->logs.path(), "--address", ip, "--password", kPassword};
  arguments.insert(arguments.end(), options.begin(), options.end());
  server->agent = std::make_unique<ScriptedLogAgent>(arguments);
  EXPECT_EQ(qevExecuteSql("insert into serverip(ip,port,username,password,remark) values ('" + ip + "', '" +
                          std::to_string(server->agent->port()) + "', 'admin', '" + kPassword + "', '')"),
            1);
  servers_.push_back(std::move(server));
  return *servers_.back();
}
