#include "maintenance/logs/download_commands.h"

#include "common/messages/prompter.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_records.h"
#include "maintenance/logs/download_state.h"

namespace {

constexpr const char* kBusy =
    "当前正在从远程服务器下载日志文件；\r\n\r\n若要重新下载日志文件，请先停止下载，再尝试此操作！点“显示下载状态”"
    "可以查看下载状态。";
constexpr const char* kDownloadQuestion = "从远程服务器下载日志文件吗？";
constexpr const char* kDownloadAgainQuestion = "确定清空已经下载的日志文件，然后重新从远程服务器下载日志文件吗？";
constexpr const char* kStopQuestion = "确定停止从远程服务器下载日志文件吗？";
constexpr const char* kStopped = "停止成功！";
constexpr const char* kAlreadyStopped = "已经是停止状态！";

DownloadStart refuseBusy(Prompter& prompter) {
  prompter.inform(kBusy, MessageIcon::Question);
  return DownloadStart::Busy;
}

void clearDownloads() {
  // As in the commands before: a clear that fails leaves rows that the run then skips.
  qevClearDownloadRows();
  qevClearLogRows();
  qevDeleteDownloadedLogs(qevDownloadDirectory());
}

DownloadStart start(Prompter& prompter, DownloadState& state, const char* question, bool clearFirst,
                    const std::function<void()>& startWorker) {
  if (state.busy()) return refuseBusy(prompter);
  if (!prompter.askYesNo(question)) return DownloadStart::NotConfirmed;
  // Taken before the clear, so a worker started meanwhile cannot fetch into what is cleared.
  if (!state.claim()) return refuseBusy(prompter);
  if (clearFirst) clearDownloads();
  startWorker();
  return DownloadStart::Started;
}

}  // namespace

DownloadStart qevRunDownloadCommand(Prompter& prompter, DownloadState& state, const std::function<void()>& startWorker) {
  return start(prompter, state, kDownloadQuestion, false, startWorker);
}

DownloadStart qevRunDownloadAgainCommand(Prompter& prompter, DownloadState& state,
                                         const std::function<void()>& startWorker) {
  return start(prompter, state, kDownloadAgainQuestion, true, startWorker);
}

DownloadStop qevRunStopDownloadCommand(Prompter& prompter, DownloadState& state) {
  if (!state.running()) {
    prompter.inform(kAlreadyStopped, MessageIcon::Information);
    return DownloadStop::AlreadyStopped;
  }
  if (!prompter.askYesNo(kStopQuestion)) return DownloadStop::NotConfirmed;
  state.requestStop();
  prompter.inform(kStopped, MessageIcon::Information);
  return DownloadStop::Stopped;
}

DownloadSummary qevRunDownloadWorker(DownloadState& state, const DownloadHooks& hooks) {
  // The slot is freed however the run ends, so no start is refused for good.
  struct Release {
    DownloadState& state;
    ~Release() { state.release(); }
  } release{state};
  DownloadHooks bound = hooks;
  bound.keepRunning = [&state, &hooks] { return state.running() && (!hooks.keepRunning || hooks.keepRunning()); };
  return qevDownloadLogFiles(bound);
}
