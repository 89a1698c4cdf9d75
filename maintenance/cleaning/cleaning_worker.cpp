#include "maintenance/cleaning/cleaning_worker.h"

#include <ctime>

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "maintenance/cleaning/cleaning_pass.h"
#include "maintenance/cleaning/cleaning_state.h"

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

void runRequestedPass(const CleaningPassHooks& hooks) {
  const unsigned raisedBefore = qevCleaningRequestsRaised().get();
  qevCleaningActive().set(1);
  try {
    qevRunCleaningPass(hooks, localTimeText("%Y-%m-%d"), localTimeText("%H-%M-%S"));
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
