#include "console/window_workers.h"

#include "common/messages/prompter.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "maintenance/cleaning/cleaning_worker.h"
#include "maintenance/records/record_query.h"

namespace {

// Progress goes to the window without waiting; messages wait for the operator's answer.
CleaningPassHooks windowHooks(const WorkerContext& context) {
  CSorrelmedeDlg* window = context.window();
  const WindowCalls calls = context.calls();
  CleaningPassHooks hooks;
  hooks.setProgressRange = [window, calls](int maximum) {
    calls.post([window, maximum] { window->setProgressRange(maximum); });
  };
  hooks.setProgressPosition = [window, calls](int position) {
    calls.post([window, position] { window->setProgressPosition(position); });
  };
  hooks.isActive = [&context] { return !context.stopRequested() && qevCleaningActive().get() == 1; };
  hooks.show = [window, calls](const std::string& text, MessageIcon icon) {
    calls.call([window, &text, icon] { window->prompter().inform(text, icon); });
  };
  hooks.reloadRecords = [] { qevReloadAllRecords(); };
  return hooks;
}

}  // namespace

void qevRunCleaningWorker(const WorkerContext& context) { qevServeCleaningRequests(context, windowHooks(context)); }
