#include "maintenance/cleaning/cleaning_worker.h"

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "maintenance/cleaning/cleaning_pass.h"
#include "maintenance/cleaning/cleaning_state.h"

namespace {

constexpr int kPollSeconds = 3;

void runRequestedPass(const CleaningPassHooks& hooks) {
  const unsigned raisedBefore = qevCleaningRequestsRaised().get();
  qevCleaningActive().set(1);
  try {
    const CleaningPassTime now = qevCleaningPassTimeNow();
    qevRunCleaningPass(hooks, now.date, now.time);
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

void qevServeCleaningRequests(const WorkerLoop& loop, const CleaningPassHooks& hooks) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    qevShowOperatorMessage(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  qevWriteSetting(kCleaningRequestKey, "0");
  while (!loop.stopRequested()) {
    if (qevReadSettingInt(kCleaningRequestKey, 0) == 1) runRequestedPass(hooks);
    if (!loop.sleepSeconds(kPollSeconds)) return;
  }
}
