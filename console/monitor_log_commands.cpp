#include "console/monitor_log_commands.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "console/command_ids.h"
#include "console/monitor_log_model.h"
#include "console/monitor_log_view.h"
#include "console/report_file_dlg.h"
#include "console/sorrelmede_dlg.h"
#include "console/user_ex_file_dlg.h"
#include "maintenance/report/report_command.h"
#include "maintenance/report/whitelist_command.h"

using namespace command_id;

namespace {

constexpr std::array kRecordListCommands = {kRefresh, kClearRecords, kClean, kScan, kCompact, kToday,
                                            kYesterday, kLastThreeDays, kLastWeek, kAllTime};
constexpr std::array kDisplayFilters = {kShowWhitelistFiles, kShowSuspiciousFiles, kShowTrojanFiles};

ConfirmDialogRunner& dialogRunner() {
  static ConfirmDialogRunner runner;
  return runner;
}

bool confirmed(ConfirmTextsDlg& dialog) {
  const int result = dialogRunner() ? dialogRunner()(dialog) : dialog.exec();
  return result == QDialog::Accepted;
}

// The rows as they stand before any dialog opens.
std::vector<ViewRow> rowsInView(MonitorLogView& view) { return view.model().viewRows(); }

void runWhitelist(CSorrelmedeDlg& window, MonitorLogView& view) {
  const auto confirm = [&window](const std::vector<std::string>& paths) {
    CUserExFileDlg dialog(window.prompter(), paths, &window);
    return confirmed(dialog);
  };
  qevAddToWhitelist(window.prompter(), rowsInView(view), confirm, [&view] { view.reload(); });
}

void runReport(CSorrelmedeDlg& window, MonitorLogView& view) {
  const auto confirm = [&window](const std::vector<std::string>& paths) {
    CReportFileDlg dialog(window.prompter(), paths, &window);
    return confirmed(dialog);
  };
  qevReportSuspiciousFiles(window.prompter(), rowsInView(view), confirm);
}

void runDisplayFilter(CSorrelmedeDlg& window, MonitorLogView& view) {
  window.setRangeButtonsEnabled(false);
  if (view.inPlace()) view.reload();
  else view.bringIntoPlace();
  window.setRangeButtonsEnabled(true);
}

// The handler runs with the view in place.
void onView(CSorrelmedeDlg& window, MonitorLogView& view, int id, std::function<void(MonitorLogView&)> work) {
  window.setCommandHandler(id, [&view, work = std::move(work)] {
    view.bringIntoPlace();
    work(view);
  });
}

void installViewCommands(CSorrelmedeDlg& window, MonitorLogView& view) {
  window.setCommandHandler(kShowLogRows, [&view] {
    if (view.inPlace()) view.reload();
    else view.bringIntoPlace();
  });
  onView(window, view, kRefillFilters, [](MonitorLogView& v) { v.refillChoices(); });
  onView(window, view, kFilterDefaults, [](MonitorLogView& v) { v.chooseDefaults(); });
  onView(window, view, kWhitelist, [&window](MonitorLogView& v) { runWhitelist(window, v); });
  onView(window, view, kReportSuspicious, [&window](MonitorLogView& v) { runReport(window, v); });
  for (const int id : kDisplayFilters) {
    window.setCommandHandler(id, [&window, &view] { runDisplayFilter(window, view); });
  }
}

void installPlaceCommands(CSorrelmedeDlg& window, MonitorLogView& view) {
  for (const int id : kRecordListCommands) {
    std::function<void()> original = window.commandHandler(id);
    window.setCommandHandler(id, [&view, original = std::move(original)] {
      view.bringRecordListBack();
      if (original) original();
    });
  }
  for (const auto& [id, checked] : {std::pair{kCheckAll, true}, std::pair{kUncheckAll, false}}) {
    std::function<void()> original = window.commandHandler(id);
    window.setCommandHandler(id, [&view, original = std::move(original), checked = checked] {
      if (view.inPlace()) view.model().setAllChecked(checked);
      else if (original) original();
    });
  }
}

}  // namespace

void qevSetConfirmDialogRunnerForTesting(ConfirmDialogRunner runner) { dialogRunner() = std::move(runner); }

MonitorLogView* qevMonitorLogView(CSorrelmedeDlg& window) { return window.findChild<MonitorLogView*>(); }

void qevInstallMonitorLogCommands(CSorrelmedeDlg& window) {
  if (qevMonitorLogView(window) != nullptr) return;
  auto* view = new MonitorLogView(window);
  installViewCommands(window, *view);
  installPlaceCommands(window, *view);
}
