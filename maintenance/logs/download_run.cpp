#include "maintenance/logs/download_run.h"

#include <vector>

#include "common/files/paths.h"
#include "common/text/decimal_text.h"
#include "maintenance/logs/agent_fetch.h"
#include "maintenance/logs/agent_listing.h"
#include "maintenance/logs/agent_protocol.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_records.h"
#include "maintenance/logs/log_import.h"
#include "maintenance/logs/server_store.h"

namespace {

constexpr const char* kServerListUnreadable = "读取服务器IP列表失败，请先导入服务器IP！";
constexpr const char* kNoServers = "未找到服务器记录，请先导入服务器设置！";

class DownloadRun {
 public:
  explicit DownloadRun(const DownloadHooks& hooks) : hooks_(hooks), directory_(qevDownloadDirectory()) {}

  DownloadSummary run() {
    std::vector<ServerRow> servers;
    if (qevLoadServerRows(servers) != 1) {
      show(kServerListUnreadable);
      return summary_;
    }
    summary_.serverListRead = true;
    if (servers.empty()) show(kNoServers);
    for (const ServerRow& server : servers) {
      if (!keepRunning()) return summary_;
      visit(server);
    }
    return summary_;
  }

 private:
  bool keepRunning() {
    if (!hooks_.keepRunning || hooks_.keepRunning()) return true;
    summary_.stopped = true;
    return false;
  }

  void show(const char* text) const {
    if (hooks_.show) hooks_.show(text, MessageIcon::Question);
  }

  void report(DownloadEvent::Kind kind, const std::string& ip, const std::string& name = {}) {
    DownloadEvent event;
    event.kind = kind;
    event.ip = ip;
    event.name = name;
    report(event);
  }
  void report(const DownloadEvent& event) const {
    if (hooks_.onEvent) hooks_.onEvent(event);
  }

  void visit(const ServerRow& server) {
    ++summary_.servers;
    AgentSession session;
    if (qevOpenAgentSession(server.ip, qevReadDecimal(server.port), server.password, session, hooks_.timeouts) != 1) {
      ++summary_.serversFailed;
      report(DownloadEvent::Kind::NoSession, server.ip);
      return;
    }
    std::vector<AgentLogFile> files;
    if (!list(session, files)) {
      ++summary_.serversFailed;
      report(DownloadEvent::Kind::NoList, server.ip);
      return;
    }
    for (const AgentLogFile& file : files) {
      if (!keepRunning()) return;
      download(session, file);
    }
  }

  // The run's table of files is shared by all its servers: what does not fit is left for the
  // next run.
  bool list(const AgentSession& session, std::vector<AgentLogFile>& files) {
    std::uint64_t cut = 0;
    const int listed = qevListAgentLogFiles(session, [this, &files, &cut](const AgentLogFile& file) {
      if (slotsTaken_ < kListedFileSlots) {
        files.push_back(file);
        ++slotsTaken_;
      } else {
        ++cut;
      }
    });
    if (listed != 1) return false;
    DownloadEvent event;
    event.ip = session.ip;
    event.kind = DownloadEvent::Kind::Listed;
    event.count = files.size();
    report(event);
    if (cut > 0) {
      event.kind = DownloadEvent::Kind::ListCut;
      event.count = cut;
      report(event);
    }
    return true;
  }

  void download(const AgentSession& session, const AgentLogFile& file) {
    const std::string& ip = session.ip;
    const long long size = qevReadDecimal(file.sizeText);
    if (size < agent_protocol::kMinFileBytes || size > agent_protocol::kMaxFileBytes) {
      report(DownloadEvent::Kind::SizeRefused, ip, file.name);
      return;
    }
    // A failed lookup fetches the file again rather than leave it behind.
    if (qevIsLogFetched(ip, file.name) == 1) {
      ++summary_.filesAlreadyFetched;
      report(DownloadEvent::Kind::AlreadyFetched, ip, file.name);
      return;
    }
    std::string content;
    if (qevFetchAgentLogFile(session, file, content) != 1) {
      ++summary_.filesFailed;
      report(DownloadEvent::Kind::FetchFailed, ip, file.name);
      return;
    }
    std::string path;
    qevCreateDirectoryChain(directory_);
    if (qevLocalLogPath(directory_, ip, file.name, path) != 1 || qevStoreDownloadedLog(path, content) != 1) {
      ++summary_.filesFailed;
      report(DownloadEvent::Kind::StoreFailed, ip, file.name);
      return;
    }
    std::string().swap(content);  // the import reads the stored file; one copy in memory at a time
    qevRecordDownload(ip, file.name, static_cast<std::uint64_t>(size));
    DownloadEvent event;
    event.kind = DownloadEvent::Kind::Fetched;
    event.ip = ip;
    event.name = file.name;
    event.size = static_cast<std::uint64_t>(size);
    qevImportLogFile(ip, path, &event.imported);
    ++summary_.filesFetched;
    if (!event.imported) ++summary_.filesNotStored;
    report(event);
  }

  const DownloadHooks& hooks_;
  const std::string directory_;
  DownloadSummary summary_;
  std::size_t slotsTaken_ = 0;
};

}  // namespace

DownloadSummary qevDownloadLogFiles(const DownloadHooks& hooks) { return DownloadRun(hooks).run(); }
