#include "console/sorrelmede_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <algorithm>
#include <cstdio>

#include "common/messages/operator_message.h"
#include "console/app_icon.h"
#include "console/command_ids.h"
#include "console/folder_opener.h"
#include "console/help_pane.h"
#include "console/list_view_setup.h"
#include "console/main_window_controls.h"
#include "console/message_box_prompter.h"
#include "console/more_commands_menu.h"
#include "console/record_list_model.h"
#include "console/vendor_site.h"
#include "console/waiting_dialog.h"
#include "console/window_texts.h"
#include "maintenance/records/record_query.h"

using namespace command_id;

namespace {

constexpr int kPaneHeight = 180;
constexpr int kPaneTopFromBottom = 190;
constexpr int kListBottomMargin = 195;
// Between the last command button and "官方网站", which keeps its place at the right.
constexpr int kMoreCommandsLeft = 798;
constexpr int kMoreCommandsWidth = 92;
constexpr std::array kRangeButtons = {kToday, kYesterday, kLastThreeDays, kLastWeek, kAllTime};
constexpr std::array kFilterLists = {kServerFilter, kActionFilter, kKindFilter, kKeywordFilter};

QWidget* makeControl(const ControlDefinition& definition, QWidget* parent) {
  const QString label = QString::fromUtf8(definition.label);
  switch (definition.kind) {
    case ControlKind::Button: return new QPushButton(label, parent);
    case ControlKind::CheckBox: return new QCheckBox(label, parent);
    case ControlKind::DropDown: return new QComboBox(parent);
  }
  return nullptr;
}

}  // namespace

CSorrelmedeDlg::Desktop CSorrelmedeDlg::systemDesktop() { return Desktop{qevShowInFolder, qevOpenAddress, true}; }

CSorrelmedeDlg::CSorrelmedeDlg(Prompter* prompter, Workers workers, Desktop desktop, QWidget* parent)
    : QDialog(parent), prompter_(prompter), desktop_(std::move(desktop)), calls_(this) {
  if (prompter_ == nullptr) {
    ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
    prompter_ = ownPrompter_.get();
  }
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromStdString(qevMainWindowTitle()));
  resize(kInitialClientWidth, kInitialClientHeight);
  createControls();
  installCommandRoutes();
  initialize(workers);
}

CSorrelmedeDlg::~CSorrelmedeDlg() { stopWorkers(); }

void CSorrelmedeDlg::createControls() {
  title_ = new QLabel(QStringLiteral("Tavernel"), this);
  title_->setGeometry(12, 8, 300, 32);
  controls_[kTitleText] = title_;
  for (const ControlDefinition& definition : qevMainWindowControls()) {
    QWidget* widget = makeControl(definition, this);
    widget->setGeometry(definition.x, definition.y, definition.width, definition.height);
    widget->setVisible(definition.visible);
    controls_[definition.id] = widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      const int id = definition.id;
      connect(button, &QAbstractButton::clicked, this, [this, id] { dispatchCommand(id); });
    }
  }
  if (auto* scan = qobject_cast<QPushButton*>(control(kScan))) scan->setDefault(true);
  moreButton_ = new QPushButton(QString::fromUtf8(kMoreCommandsCaption), this);
  moreButton_->setGeometry(kMoreCommandsLeft, 46, kMoreCommandsWidth, 30);
  moreMenu_ = qevCreateMoreCommandsMenu(*this);
  moreButton_->setMenu(moreMenu_);
  progress_ = new QProgressBar(this);
  progress_->setGeometry(kPaneLeft, 84, kInitialClientWidth - 2 * kPaneLeft, 14);
  progress_->setTextVisible(false);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  controls_[kProgressBar] = progress_;
  createRecordList();
  createPanes();
}

void CSorrelmedeDlg::createRecordList() {
  records_ = new RecordListModel(this);
  recordView_ = new QTableView(this);
  recordView_->setGeometry(kPaneLeft, kRecordListTop, kInitialClientWidth - 2 * kPaneLeft,
                           kInitialClientHeight - kRecordListTop - kListBottomMargin);
  qevSetUpListView(*recordView_, *records_);
  QHeaderView* header = recordView_->horizontalHeader();
  recordView_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(recordView_, &QTableView::clicked, this, [this](const QModelIndex& index) {
    onRecordRowClicked(index.isValid() ? index.row() : -1);
  });
  connect(recordView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
    const QModelIndex index = recordView_->indexAt(position);
    onRecordContextMenu(index.isValid() ? index.row() : -1, recordView_->viewport()->mapToGlobal(position));
  });
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) { onRecordHeaderClicked(column); });
  controls_[kRecordList] = recordView_;

  contextMenu_ = new QMenu(this);
  QAction* openFolder = contextMenu_->addAction(QStringLiteral("打开文件所在目录"));
  connect(openFolder, &QAction::triggered, this, [this] { dispatchCommand(kOpenContainingFolder); });
}

void CSorrelmedeDlg::createPanes() {
  const int top = kInitialClientHeight - kPaneTopFromBottom;
  const int width = kInitialClientWidth - 2 * kPaneLeft;
  preview_ = new QPlainTextEdit(this);
  preview_->setReadOnly(true);
  preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  preview_->setGeometry(kPaneLeft, top, width, kPaneHeight);
  controls_[kPreviewPane] = preview_;
  helpPane_ = new CHelpinfo(this);
  helpPane_->setRemotePages(desktop_.remoteHelpPages);
  helpPane_->setGeometry(kPaneLeft, top, width, kPaneHeight);
  controls_[kHelpPane] = helpPane_;
}

void CSorrelmedeDlg::initialize(const Workers& workers) {
  const QIcon icon = qevApplicationIcon();
  setWindowIcon(icon);
  QFont titleFont(QStringList{QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
  titleFont.setPixelSize(22);
  titleFont.setWeight(QFont::Normal);
  titleFont.setStyleHint(QFont::SansSerif);  // a swiss-family face where 宋体 is missing
  title_->setFont(titleFont);
  records_->replaceRows({});

  installMessageHook();
  qevSetRecordListHost(this);
  qevReloadAllRecords();

  scanWatcher_.start(workers.scanWatcher, this, calls_.handle());
  cleaningWorker_.start(workers.cleaningWorker, this, calls_.handle());

  helpPaneFlag_ = 1;
  preview_->hide();
  helpPane_->show();
  helpPane_->navigate(qevVendorHelpAddress());
}

void CSorrelmedeDlg::installMessageHook() {
  const WindowCalls calls = calls_.handle();
  Prompter* prompter = prompter_;
  // Common code shows its messages through this hook from any thread; the box always appears on
  // the window's thread, and the caller waits until it is answered.
  qevSetOperatorMessageHook([calls, prompter](const std::string& text, MessageIcon icon) {
    const auto show = [&] { prompter->inform(text, icon); };
    if (calls.onWindowThread()) {
      show();
    } else if (!calls.call(show)) {
      std::fprintf(stderr, "%s\n", text.c_str());
    }
  });
}

void CSorrelmedeDlg::stopWorkers() {
  calls_.close();
  waiter_.stopAndJoin();
  scanWatcher_.stopAndJoin();
  cleaningWorker_.stopAndJoin();
  if (qevRecordListHost() == this) {
    qevSetRecordListHost(nullptr);
    qevSetOperatorMessageHook(nullptr);
  }
}

void CSorrelmedeDlg::done(int result) {
  stopWorkers();
  QDialog::done(result);
}

void CSorrelmedeDlg::waitInBackground(const std::string& text, std::function<bool(const WorkerLoop&)> work,
                                      std::function<void()> then) {
  if (waiting() || calls_.handle().closing()) return;
  waitingNotice_ = new WaitingDialog(toDisplayText(text), this);
  waitingNotice_->show();
  CSorrelmedeDlg* window = this;
  waiter_.start(
      [window, work = std::move(work), then = std::move(then)](const WorkerContext& context) {
        const bool goOn = work(context);
        context.calls().post([window, goOn, then] {
          window->endWaiting();
          if (goOn && then) then();
        });
      },
      this, calls_.handle());
}

void CSorrelmedeDlg::endWaiting() {
  waiter_.stopAndJoin();  // its work is done: the thread is only returning
  if (waitingNotice_ == nullptr) return;
  waitingNotice_->finish();
  waitingNotice_->deleteLater();
  waitingNotice_ = nullptr;
}

QWidget* CSorrelmedeDlg::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void CSorrelmedeDlg::showPreviewText() { preview_->setPlainText(toDisplayText(previewText_)); }

void CSorrelmedeDlg::showHelpPane() {
  helpPaneFlag_ = 1;
  preview_->hide();
  helpPane_->show();
}

void CSorrelmedeDlg::setProgressRange(int maximum) { progress_->setRange(0, maximum); }

void CSorrelmedeDlg::setProgressPosition(int position) { progress_->setValue(position); }

void CSorrelmedeDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  onSize(event->size().width(), event->size().height());
}

void CSorrelmedeDlg::onSize(int width, int height) {
  // The first size event comes while the window is being created: the initial places stand.
  if (++sizeEvents_ == 1) return;
  if (QWidget* list = control(kRecordList)) {
    const QPoint at = list->pos();
    list->setGeometry(at.x(), at.y(), std::max(0, width - 2 * at.x()), std::max(0, height - at.y() - kListBottomMargin));
  }
  for (const int id : {kPreviewPane, kHelpPane}) {
    if (QWidget* pane = control(id)) {
      const int left = pane->pos().x();
      pane->setGeometry(left, height - kPaneTopFromBottom, std::max(0, width - 2 * left), kPaneHeight);
    }
  }
  for (const auto& [id, follower] : placeFollowers_) {
    if (QWidget* place = control(id)) follower->setGeometry(place->geometry());
  }
}

void CSorrelmedeDlg::followPlaceOf(int id, QWidget* widget) {
  QWidget* place = control(id);
  if (place == nullptr || widget == nullptr) return;
  widget->setGeometry(place->geometry());
  placeFollowers_.emplace_back(id, widget);
}

void CSorrelmedeDlg::setRangeButtonsEnabled(bool enabled) {
  for (const int id : kRangeButtons) {
    if (QWidget* button = control(id)) button->setEnabled(enabled);
  }
}

void CSorrelmedeDlg::fillFilterListsOnce() {
  if (filterListsFilled_) return;
  for (std::size_t i = 0; i < kFilterLists.size(); ++i) {
    auto* list = qobject_cast<QComboBox*>(control(kFilterLists[i]));
    if (list == nullptr) continue;
    for (const std::string& text : filterLists_[i]) list->addItem(QString::fromStdString(text));
  }
  filterListsFilled_ = true;
}

void CSorrelmedeDlg::refillFilterLists() {
  QWidget* refill = control(kRefillFilters);
  refill->setEnabled(false);
  for (std::size_t i = 0; i < kFilterLists.size(); ++i) {
    auto* list = qobject_cast<QComboBox*>(control(kFilterLists[i]));
    if (list == nullptr) continue;
    list->clear();
    for (const std::string& text : filterLists_[i]) list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(list->count() > 0 ? 0 : -1);
  }
  filterListsFilled_ = true;
  selectFilterDefaults();
  refill->setEnabled(true);
}

void CSorrelmedeDlg::selectFilterDefaults() {
  for (const int id : kFilterLists) {
    if (auto* list = qobject_cast<QComboBox*>(control(id))) list->setCurrentIndex(list->count() > 0 ? 0 : -1);
  }
}

void CSorrelmedeDlg::showRecordRows(std::vector<RecordRow> usedEntries) { records_->replaceRows(std::move(usedEntries)); }

bool CSorrelmedeDlg::runOnWindowThread(const std::function<void()>& work) { return calls_.handle().call(work); }

bool CSorrelmedeDlg::onWindowThread() const { return calls_.handle().onWindowThread(); }
