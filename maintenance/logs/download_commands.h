#pragma once
#include <functional>

#include "maintenance/logs/download_run.h"

class Prompter;
class DownloadState;

// The download commands as the operator gives them, with their questions and messages: both
// front ends call these. startWorker is called only after the worker slot of state was taken;
// the worker it starts must call state.release() when it ends (also when it cannot start).

enum class DownloadStart {
  Started,       // startWorker was called
  Busy,          // a worker runs or is still ending: the operator was told, nothing changed
  NotConfirmed,  // the operator did not answer Yes: nothing changed
};

// Command 1016: asks "从远程服务器下载日志文件吗？", then starts a worker. Nothing is cleared.
DownloadStart qevRunDownloadCommand(Prompter& prompter, DownloadState& state, const std::function<void()>& startWorker);

// Command 1002: asks, then empties downloadinfo and fmlog, deletes the downloaded log files and
// starts a worker, which then fetches every listed file anew.
DownloadStart qevRunDownloadAgainCommand(Prompter& prompter, DownloadState& state,
                                         const std::function<void()>& startWorker);

enum class DownloadStop {
  Stopped,          // the running flag was cleared ("停止成功！")
  AlreadyStopped,   // nothing ran ("已经是停止状态！")
  NotConfirmed,
};

// Command 1015: asks, then asks the running worker to stop at its next check.
DownloadStop qevRunStopDownloadCommand(Prompter& prompter, DownloadState& state);

// The body of a started worker: one run that also ends when state stops running, then the slot
// is freed.
DownloadSummary qevRunDownloadWorker(DownloadState& state, const DownloadHooks& hooks);
