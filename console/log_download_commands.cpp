#include "console/log_download_commands.h"

#include <QObject>
#include <thread>

#include "common/messages/prompter.h"
#include "console/command_ids.h"
#include "console/download_log_file_dlg.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/logs/download_commands.h"
#include "maintenance/logs/download_state.h"
#include "maintenance/logs/log_reimport.h"

namespace {

AgentTimeouts& downloadTimeouts() {
  static AgentTimeouts timeouts;
  return timeouts;
}

// Owns the download worker and the status window; a child of the main window, so both live as
// long as it.
class LogDownloadModule : public QObject {
 public:
  explicit LogDownloadModule(CSorrelmedeDlg& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("LogDownloadModule"));
    // Closing the window stops the run at its next check.
    connect(&window, &QDialog::finished, this, [this] { stopWorker(); });
  }
  ~LogDownloadModule() override {
    stopWorker();
    join();
  }

  void download() { qevRunDownloadCommand(window_.prompter(), qevDownloadState(), [this] { startWorker(); }); }
  void downloadAgain() {
    qevRunDownloadAgainCommand(window_.prompter(), qevDownloadState(), [this] { startWorker(); });
  }
  void stop() { qevRunStopDownloadCommand(window_.prompter(), qevDownloadState()); }
  void reimport() { qevReimportLogFiles(window_.prompter()); }

  void showStatus() {
    // Made once and then only shown: it keeps the rows of its last reload.
    if (status_ == nullptr) status_ = new CDownloadLogFileDlg(&window_);
    status_->show();
    status_->raise();
    status_->activateWindow();
  }

  CDownloadLogFileDlg* status() const { return status_; }

  void join() {
    if (worker_.joinable()) worker_.join();
  }

 private:
  void stopWorker() {
    if (worker_.joinable()) {
      worker_.request_stop();
      qevDownloadState().requestStop();
    }
  }

  // Called with the worker slot taken; the body frees it however it ends.
  void startWorker() {
    join();  // a worker that freed the slot has ended or is about to
    CSorrelmedeDlg* window = &window_;
    const WindowCalls calls = window_.windowCalls();
    const AgentTimeouts timeouts = downloadTimeouts();
    try {
      worker_ = std::jthread([window, calls, timeouts](std::stop_token stop) {
        DownloadHooks hooks;
        hooks.keepRunning = [&stop] { return !stop.stop_requested(); };
        hooks.show = [window, calls](const std::string& text, MessageIcon icon) {
          calls.call([window, &text, icon] { window->prompter().inform(text, icon); });
        };
        hooks.timeouts = timeouts;
        qevRunDownloadWorker(qevDownloadState(), hooks);
      });
    } catch (const std::system_error&) {
      qevDownloadState().release();
    }
  }

  CSorrelmedeDlg& window_;
  CDownloadLogFileDlg* status_ = nullptr;
  std::jthread worker_;
};

LogDownloadModule* moduleOf(const CSorrelmedeDlg& window) {
  return window.findChild<LogDownloadModule*>(QStringLiteral("LogDownloadModule"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void qevInstallLogDownloadCommands(CSorrelmedeDlg& window) {
  auto* module = moduleOf(window);
  if (module == nullptr) module = new LogDownloadModule(window);
  window.setCommandHandler(command_id::kDownloadLogs, [module] { module->download(); });
  window.setCommandHandler(command_id::kDownloadAgain, [module] { module->downloadAgain(); });
  window.setCommandHandler(command_id::kStopDownload, [module] { module->stop(); });
  window.setCommandHandler(command_id::kDownloadStatus, [module] { module->showStatus(); });
  window.setCommandHandler(command_id::kReimportLogs, [module] { module->reimport(); });
}

CDownloadLogFileDlg* qevDownloadStatusWindow(const CSorrelmedeDlg& window) {
  const LogDownloadModule* module = moduleOf(window);
  return module == nullptr ? nullptr : module->status();
}

void qevJoinDownloadWorker(const CSorrelmedeDlg& window) {
  if (LogDownloadModule* module = moduleOf(window)) module->join();
}

void qevSetDownloadTimeoutsForTesting(const AgentTimeouts& timeouts) { downloadTimeouts() = timeouts; }
