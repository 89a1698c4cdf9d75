#pragma once
#include <functional>
#include <string>

#include "common/messages/operator_message.h"
#include "maintenance/logs/download_events.h"
#include "maintenance/logs/tcp_exchange.h"

// One download run over every server of table serverip: for each server in ip order a session,
// its list of log files, then every listed file that is new: fetched and verified, stored in
// the download directory, recorded in downloadinfo and imported into fmlog. Nothing here waits
// without a bound: every exchange ends by its time-outs.
struct DownloadHooks {
  // Asked before each server and each file; false ends the run there (the exchange under way
  // has finished by then). Empty: the run goes on to the end.
  std::function<bool()> keepRunning;
  // The run's own messages: the server list could not be read, or holds no server.
  std::function<void(const std::string& text, MessageIcon icon)> show;
  std::function<void(const DownloadEvent& event)> onEvent;  // may be empty
  AgentTimeouts timeouts;
};

struct DownloadSummary {
  bool serverListRead = false;  // false: the run ended at once (the operator was told)
  bool stopped = false;         // keepRunning ended the run before its end
  int servers = 0;              // servers whose turn came
  int serversFailed = 0;        // of them, those without a session or a list
  int filesFetched = 0;
  int filesFailed = 0;          // fetch, checks or store failed (tried again by the next run)
  int filesAlreadyFetched = 0;
  int filesNotStored = 0;       // fetched, but fmlog did not take the rows
};

// The run's table of listed files holds at most this many over all servers of one run.
inline constexpr std::size_t kListedFileSlots = 9'999;

DownloadSummary qevDownloadLogFiles(const DownloadHooks& hooks);
