#include <array>

#include "common/files/long_path.h"
#include "common/messages/prompter.h"
#include "console/command_ids.h"
#include "console/record_list_model.h"
#include "console/sorrelmede_dlg.h"
#include "console/vendor_site.h"
#include "maintenance/records/clear_records.h"
#include "maintenance/records/maintenance_requests.h"
#include "maintenance/records/record_query.h"
#include "maintenance/records/selected_path.h"

using namespace command_id;

namespace {

constexpr const char* kWaitingRefusal = "正在等待上一个操作完成，请稍候再试！";

using Handler = void (CSorrelmedeDlg::*)();

struct CommandRoute {
  int id;
  Handler handler;  // nullptr: a function still to be built, the command does nothing yet
};

}  // namespace

// Every command id of the main window, visible or hidden, and what it runs.
void CSorrelmedeDlg::installCommandRoutes() {
  const std::array routes = {
      // Scan launch and the cleaning commands come with the scan and cleaning module, which
      // registers its handlers through setCommandHandler.
      CommandRoute{kScan, nullptr},
      CommandRoute{kClean, nullptr},
      CommandRoute{kStopCleaning, nullptr},
      // The record list.
      CommandRoute{kRefresh, &CSorrelmedeDlg::refresh},
      CommandRoute{kClearRecords, &CSorrelmedeDlg::clearRecords},
      CommandRoute{kCheckAll, &CSorrelmedeDlg::checkAll},
      CommandRoute{kUncheckAll, &CSorrelmedeDlg::uncheckAll},
      CommandRoute{kOpenContainingFolder, &CSorrelmedeDlg::openContainingFolder},
      CommandRoute{kToday, nullptr},  // the range commands are routed below, with their codes
      CommandRoute{kYesterday, nullptr},
      CommandRoute{kLastThreeDays, nullptr},
      CommandRoute{kLastWeek, nullptr},
      CommandRoute{kAllTime, &CSorrelmedeDlg::reloadAll},
      CommandRoute{kRefillFilters, &CSorrelmedeDlg::refillFilterLists},
      CommandRoute{kFilterDefaults, &CSorrelmedeDlg::selectFilterDefaults},
      CommandRoute{kCheckFilesRequest, &CSorrelmedeDlg::requestCheckFiles},
      CommandRoute{kDeleteDuplicatesRequest, &CSorrelmedeDlg::requestDeleteDuplicates},
      CommandRoute{kVendorWebSite, &CSorrelmedeDlg::openVendorSite},
      // Functions of the hidden controls that are not built yet: compaction, suspicious-file
      // report, whitelist and its display filters, monitor rules and alarm settings, server
      // management, log download and status, log view and re-import.
      CommandRoute{kCompact, nullptr},
      CommandRoute{kReportSuspicious, nullptr},
      CommandRoute{kWhitelist, nullptr},
      CommandRoute{kShowWhitelistFiles, nullptr},
      CommandRoute{kShowSuspiciousFiles, nullptr},
      CommandRoute{kShowTrojanFiles, nullptr},
      CommandRoute{kMonitorRules, nullptr},
      CommandRoute{kAlarmSettings, nullptr},
      CommandRoute{kServerManagement, nullptr},
      CommandRoute{kDownloadLogs, nullptr},
      CommandRoute{kDownloadAgain, nullptr},
      CommandRoute{kStopDownload, nullptr},
      CommandRoute{kDownloadStatus, nullptr},
      CommandRoute{kShowLogRows, nullptr},
      CommandRoute{kReimportLogs, nullptr},
      CommandRoute{kNoAction, nullptr},  // no action, by design
  };
  for (const CommandRoute& route : routes) {
    const Handler handler = route.handler;
    commands_[route.id] = handler == nullptr ? std::function<void()>() : [this, handler] { (this->*handler)(); };
  }
  commands_[kToday] = [this] { queryRange(kRangeToday); };
  commands_[kYesterday] = [this] { queryRange(kRangeYesterday); };
  commands_[kLastThreeDays] = [this] { queryRange(kRangeThreeDays); };
  commands_[kLastWeek] = [this] { queryRange(kRangeWeek); };
}

bool CSorrelmedeDlg::dispatchCommand(int id) {
  const auto found = commands_.find(id);
  if (found == commands_.end()) return false;
  if (waiting()) {
    prompter_->inform(kWaitingRefusal, MessageIcon::Question);
    return true;
  }
  if (found->second) found->second();
  return true;
}

bool CSorrelmedeDlg::knowsCommand(int id) const { return commands_.count(id) != 0; }

bool CSorrelmedeDlg::hasCommandHandler(int id) const {
  const auto found = commands_.find(id);
  return found != commands_.end() && static_cast<bool>(found->second);
}

void CSorrelmedeDlg::setCommandHandler(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }

std::function<void()> CSorrelmedeDlg::commandHandler(int id) const {
  const auto found = commands_.find(id);
  return found == commands_.end() ? std::function<void()>() : found->second;
}

void CSorrelmedeDlg::refresh() {
  setPreviewText({});
  showPreviewText();
  qevReloadAllRecords();
}

void CSorrelmedeDlg::clearRecords() {
  qevClearRecords(*prompter_, [this] {
    setPreviewText({});
    showPreviewText();
  });
}

void CSorrelmedeDlg::checkAll() { records_->setAllChecked(true); }

void CSorrelmedeDlg::uncheckAll() { records_->setAllChecked(false); }

void CSorrelmedeDlg::queryRange(int rangeCode) {
  setRangeButtonsEnabled(false);
  qevSetRangeCode(rangeCode);
  qevQueryRecords(rangeCode);
  setRangeButtonsEnabled(true);
}

void CSorrelmedeDlg::reloadAll() { qevReloadAllRecords(); }

void CSorrelmedeDlg::requestCheckFiles() { qevRequestCheckFiles(*prompter_); }

void CSorrelmedeDlg::requestDeleteDuplicates() {
  if (!qevRequestDeleteDuplicates(*prompter_)) return;
  setPreviewText({});
  showPreviewText();
}

void CSorrelmedeDlg::openContainingFolder() {
  const std::u16string path = qevSelectedPath().get();
  if (path.empty() || path.size() > kMaxLongPath) {
    prompter_->inform("请先选择文件！", MessageIcon::Question);
    return;
  }
  if (!desktop_.showInFolder || !desktop_.showInFolder(path)) {
    prompter_->inform("打开文件所在目录失败，请重试！", MessageIcon::Question);
  }
}

void CSorrelmedeDlg::openVendorSite() {
  // A failure to start the browser is not reported.
  if (desktop_.openAddress) desktop_.openAddress(qevVendorHomeAddress());
}
