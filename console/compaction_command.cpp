#include "console/compaction_command.h"

#include "common/threads/worker_loop.h"
#include "console/help_pane.h"
#include "console/record_list_model.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/cleaning/compaction.h"

void qevRunCompactionCommand(CSorrelmedeDlg& window) {
  const auto showHelpPage = [&window](const std::string& helpUrl) {
    window.showHelpPane();
    window.helpPane().navigate(helpUrl);
  };
  const CompactionStart start = qevBeginCompaction(window.prompter(), window.recordList().rows(), showHelpPage);
  if (!start.confirmed) return;
  CSorrelmedeDlg* target = &window;
  window.waitInBackground(
      kWebServerStopWaitText,
      [start](const WorkerLoop& loop) { return qevStopWebServer(start, [&loop] { return loop.stopRequested(); }); },
      [target] { qevRaiseCompactionRequest(target->prompter()); });
}
