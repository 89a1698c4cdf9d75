#pragma once
#include <QDialog>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/window_thread_calls.h"
#include "console/worker_thread.h"
#include "maintenance/records/record_list_host.h"

class CHelpinfo;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class WaitingDialog;
class WorkerLoop;
class Prompter;
class RecordListModel;

// The main window: the record list with its commands, the progress bar, the help and preview
// panes, every command control (hidden ones included), and the two worker threads that live as
// long as the window.
class CSorrelmedeDlg : public QDialog, public RecordListHost {
  Q_OBJECT

 public:
  // The two workers started at initialisation, after the first list load.
  struct Workers {
    WorkerBody scanWatcher;
    WorkerBody cleaningWorker;
  };
  // What the window asks of the desktop; tests replace them.
  struct Desktop {
    std::function<bool(const std::u16string& path)> showInFolder;
    std::function<bool(const std::string& address)> openAddress;
    bool remoteHelpPages = true;  // fetch the vendor's help page over the network
  };
  static Desktop systemDesktop();

  // Builds the controls and runs the initialisation (list load, workers, help page). Without a
  // prompter the window shows message boxes of its own.
  explicit CSorrelmedeDlg(Prompter* prompter = nullptr, Workers workers = {}, Desktop desktop = systemDesktop(),
                          QWidget* parent = nullptr);
  ~CSorrelmedeDlg() override;

  // Commands by control id. false for an id the window does not know; a known id whose function
  // is not built yet does nothing. While the window waits (waitInBackground), every command is
  // refused with a message.
  bool dispatchCommand(int id);
  bool knowsCommand(int id) const;
  // Whether the id has a handler (a function that is built).
  bool hasCommandHandler(int id) const;
  // Lets a later module provide (or replace) the handler of a command id.
  void setCommandHandler(int id, std::function<void()> handler);
  // The handler of a command id (empty when it has none), for a module that wraps it.
  std::function<void()> commandHandler(int id) const;

  // A widget that can stand in the place of a control (the record list's, a pane's): it gets the
  // control's geometry now and again on every later layout.
  void followPlaceOf(int id, QWidget* widget);

  // The control of an id (nullptr when there is none).
  QWidget* control(int id) const;
  // The "更多功能" button at the end of the button row and its menu of the hidden commands.
  QPushButton& moreCommandsButton() { return *moreButton_; }
  QMenu& moreCommandsMenu() { return *moreMenu_; }
  const Desktop& desktop() const { return desktop_; }

  // Runs work on a thread of its own while the window shows text in a notice modal to it and
  // refuses its commands; the window still repaints. Then runs then on the window's thread,
  // unless work answered false. When the window closes first, work's loop asks it to stop and
  // then never runs. One wait at a time: a second call while waiting does nothing.
  void waitInBackground(const std::string& text, std::function<bool(const WorkerLoop&)> work,
                        std::function<void()> then);
  bool waiting() const { return waitingNotice_ != nullptr; }
  RecordListModel& recordList() { return *records_; }
  QTableView& recordView() { return *recordView_; }
  Prompter& prompter() { return *prompter_; }
  WindowCalls windowCalls() const { return calls_.handle(); }

  // The preview text of pane 1019; showPreviewText puts it into the pane.
  const std::string& previewText() const { return previewText_; }
  void setPreviewText(std::string text) { previewText_ = std::move(text); }
  void showPreviewText();
  // 1 while the help pane is shown in place of the preview pane.
  int helpPaneFlag() const { return helpPaneFlag_; }
  // Shows the help pane again in place of the preview pane.
  void showHelpPane();
  CHelpinfo& helpPane() { return *helpPane_; }

  void setProgressRange(int maximum);
  void setProgressPosition(int position);

  // Record list notifications (row -1: no row was hit).
  void onRecordRowClicked(int row);
  void onRecordContextMenu(int row, const QPoint& globalPosition);
  void onRecordHeaderClicked(int column);
  // A size event with the new client size; the first one is skipped.
  void onSize(int width, int height);
  int sizeEventCount() const { return sizeEvents_; }

  // Ends the workers and refuses further queued calls. Also done on close and destruction.
  void stopWorkers();

  // RecordListHost
  void setRangeButtonsEnabled(bool enabled) override;
  void fillFilterListsOnce() override;
  void showRecordRows(std::vector<RecordRow> usedEntries) override;
  bool runOnWindowThread(const std::function<void()>& work) override;
  bool onWindowThread() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void done(int result) override;

 private:
  void createControls();
  void createRecordList();
  void createPanes();
  void initialize(const Workers& workers);
  void installCommandRoutes();
  void installMessageHook();
  void endWaiting();

  // Commands of the record list.
  void refresh();
  void clearRecords();
  void checkAll();
  void uncheckAll();
  void queryRange(int rangeCode);
  void reloadAll();
  void refillFilterLists();
  void selectFilterDefaults();
  void requestCheckFiles();
  void requestDeleteDuplicates();
  void openContainingFolder();
  void openVendorSite();

  std::unique_ptr<Prompter> ownPrompter_;
  Prompter* prompter_;
  Desktop desktop_;
  WindowThreadCalls calls_;
  std::map<int, QWidget*> controls_;
  std::map<int, std::function<void()>> commands_;
  std::vector<std::pair<int, QWidget*>> placeFollowers_;

  QLabel* title_ = nullptr;
  RecordListModel* records_ = nullptr;
  QTableView* recordView_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPlainTextEdit* preview_ = nullptr;
  CHelpinfo* helpPane_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  QPushButton* moreButton_ = nullptr;
  QMenu* moreMenu_ = nullptr;
  WaitingDialog* waitingNotice_ = nullptr;

  std::string previewText_;
  int helpPaneFlag_ = 1;
  int sizeEvents_ = 0;
  std::array<std::vector<std::string>, 4> filterLists_;
  bool filterListsFilled_ = false;

  WorkerThread scanWatcher_;
  WorkerThread cleaningWorker_;
  WorkerThread waiter_;
};
