#include "console/cleaning_worker.h"

#include <ctime>

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "console/cleaning_pass.h"
#include "console/cleaning_state.h"
#include "console/prompter.h"
#include "console/record_query.h"
#include "console/sorrelmede_dlg.h"

namespace {

constexpr int kPollSeconds = 3;

std::string localTimeText(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, format, &local);
  return text;
}

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

void runRequestedPass(const WorkerContext& context) {
  const unsigned raisedBefore = qevCleaningRequestsRaised().get();
  qevCleaningActive().set(1);
  try {
    qevRunCleaningPass(windowHooks(context), localTimeText("%Y-%m-%d"), localTimeText("%H-%M-%S"));
  } catch (...) {
    // A failed pass still ends the request below, so the worker keeps serving later ones.
  }
  // A cleaning confirmed during the pass marked new rows and told the operator it started: its
  // request stays up for the next round instead of being reset with this one.
  if (qevCleaningRequestsRaised().get() != raisedBefore) return;
  qevWriteSetting(kCleaningRequestKey, "0");
  qevCleaningActive().set(0);
}

}  // namespace

void qevRunCleaningWorker(const WorkerContext& context) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    qevShowOperatorMessage(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  qevWriteSetting(kCleaningRequestKey, "0");
  while (!context.stopRequested()) {
    if (qevReadSettingInt(kCleaningRequestKey, 0) == 1) runRequestedPass(context);
    if (!context.sleepSeconds(kPollSeconds)) return;
  }
}
