#include "console/monitor_log_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <array>

#include "console/command_ids.h"
#include "console/list_view_setup.h"
#include "console/monitor_log_model.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/logs/monitor_log_choices.h"

using namespace command_id;

namespace {

struct ChoiceList {
  int id;
  const char* label;
};
constexpr std::array kChoiceLists = {ChoiceList{kServerFilter, "服务器IP"}, ChoiceList{kActionFilter, "动作"},
                                     ChoiceList{kKindFilter, "文件类别"}, ChoiceList{kKeywordFilter, "记录关键字"}};
constexpr std::array kDisplayFilters = {kShowWhitelistFiles, kShowSuspiciousFiles, kShowTrojanFiles};

// Buttons of the query panel that give commands of the window.
struct PanelButton {
  const char* caption;
  int command;
};
constexpr std::array kPanelButtons = {PanelButton{"加入白名单", kWhitelist}, PanelButton{"上报可疑文件", kReportSuspicious},
                                      PanelButton{"返回记录列表", kRefresh}};

std::string chosenText(const QComboBox* list) {
  if (list == nullptr) return {};
  const std::string text = list->currentText().toStdString();
  return text == kAnyChoiceText ? std::string() : text;
}

bool isChecked(const CSorrelmedeDlg& window, int id) {
  const auto* box = qobject_cast<const QAbstractButton*>(window.control(id));
  return box != nullptr && box->isChecked();
}

void setChoices(QComboBox& list, const std::vector<std::string>& values) {
  const QSignalBlocker quiet(list);
  list.clear();
  list.addItem(QString::fromUtf8(kAnyChoiceText));
  for (const std::string& value : values) list.addItem(QString::fromStdString(value));
  list.setCurrentIndex(0);
}

}  // namespace

MonitorLogView::MonitorLogView(CSorrelmedeDlg& window) : QObject(&window), window_(window) {
  buildTable();
  buildPanel();
  connectChoices();
}

void MonitorLogView::buildTable() {
  model_ = new MonitorLogModel(this);
  table_ = new QTableView(&window_);
  qevSetUpListView(*table_, *model_);
  QHeaderView* header = table_->horizontalHeader();
  header->setSortIndicatorShown(true);
  header->setSortIndicator(order_.column, Qt::DescendingOrder);
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
    order_.clickHeader(column);
    table_->horizontalHeader()->setSortIndicator(order_.column,
                                                 order_.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    reload();
  });
  table_->hide();
  window_.followPlaceOf(kRecordList, table_);
}

void MonitorLogView::buildPanel() {
  panel_ = new QGroupBox(QStringLiteral("日志分析查询"), &window_);
  auto* grid = new QGridLayout(panel_);
  int column = 0;
  for (const ChoiceList& choice : kChoiceLists) {
    grid->addWidget(new QLabel(QString::fromUtf8(choice.label), panel_), 0, column++);
    if (QComboBox* list = choiceList(choice.id)) {
      list->setMinimumWidth(140);
      grid->addWidget(list, 0, column);
      list->show();
    }
    ++column;
  }
  for (const int id : {kRefillFilters, kFilterDefaults}) {
    if (QWidget* button = window_.control(id)) {
      grid->addWidget(button, 0, column++);
      button->show();
    }
  }
  int boxColumn = 0;
  for (const int id : kDisplayFilters) {
    if (QWidget* box = window_.control(id)) {
      grid->addWidget(box, 1, boxColumn, 1, 2);
      box->show();
    }
    boxColumn += 2;
  }
  int buttonColumn = column - static_cast<int>(kPanelButtons.size());
  for (const PanelButton& panelButton : kPanelButtons) {
    auto* button = new QPushButton(QString::fromUtf8(panelButton.caption), panel_);
    const int command = panelButton.command;
    connect(button, &QPushButton::clicked, &window_, [this, command] { window_.dispatchCommand(command); });
    grid->addWidget(button, 1, buttonColumn++);
  }
  grid->setRowStretch(2, 1);
  panel_->hide();
  window_.followPlaceOf(kHelpPane, panel_);
}

void MonitorLogView::connectChoices() {
  for (const ChoiceList& choice : kChoiceLists) {
    QComboBox* list = choiceList(choice.id);
    if (list == nullptr) continue;
    if (choice.id == kKeywordFilter) {
      // The keyword may be typed: the view follows once it is entered or the box is left.
      list->setEditable(true);
      list->setInsertPolicy(QComboBox::NoInsert);
      connect(list, &QComboBox::activated, this, [this] { reload(); });
      connect(list->lineEdit(), &QLineEdit::editingFinished, this, [this] { reload(); });
    } else {
      connect(list, &QComboBox::currentIndexChanged, this, [this] { reload(); });
    }
  }
}

QComboBox* MonitorLogView::choiceList(int id) const { return qobject_cast<QComboBox*>(window_.control(id)); }

void MonitorLogView::bringIntoPlace() {
  if (inPlace_) return;
  inPlace_ = true;
  window_.control(kRecordList)->hide();
  window_.control(kPreviewPane)->hide();
  window_.control(kHelpPane)->hide();
  table_->show();
  panel_->show();
  table_->setFocus();
  if (!choicesFilled_) fillChoices();
  reload();
}

void MonitorLogView::bringRecordListBack() {
  if (!inPlace_) return;
  inPlace_ = false;
  table_->hide();
  panel_->hide();
  window_.control(kRecordList)->show();
  const bool help = window_.helpPaneFlag() == 1;
  window_.control(kHelpPane)->setVisible(help);
  window_.control(kPreviewPane)->setVisible(!help);
}

MonitorLogFilter MonitorLogView::filter() const {
  MonitorLogFilter filter;
  filter.serverIp = chosenText(choiceList(kServerFilter));
  filter.action = chosenText(choiceList(kActionFilter));
  filter.category = chosenText(choiceList(kKindFilter));
  filter.keyword = chosenText(choiceList(kKeywordFilter));
  filter.whitelistFiles = isChecked(window_, kShowWhitelistFiles);
  filter.suspiciousFiles = isChecked(window_, kShowSuspiciousFiles);
  filter.trojanFiles = isChecked(window_, kShowTrojanFiles);
  return filter;
}

void MonitorLogView::reload() {
  std::vector<MonitorLogRow> rows;
  if (qevLoadMonitorLog(filter(), order_, rows) == 1) model_->replaceRows(std::move(rows));
}

void MonitorLogView::fillChoices() {
  MonitorLogChoices choices;
  qevLoadMonitorLogChoices(choices);  // lists that could not be read offer "（全部）" alone
  const std::array values = {&choices.serverIps, &choices.actions, &choices.categories, &choices.keywords};
  for (std::size_t i = 0; i < kChoiceLists.size(); ++i) {
    if (QComboBox* list = choiceList(kChoiceLists[i].id)) setChoices(*list, *values[i]);
  }
  choicesFilled_ = true;
}

void MonitorLogView::refillChoices() {
  QWidget* refill = window_.control(kRefillFilters);
  refill->setEnabled(false);
  fillChoices();
  refill->setEnabled(true);
  reload();
}

void MonitorLogView::chooseDefaults() {
  for (const ChoiceList& choice : kChoiceLists) {
    if (QComboBox* list = choiceList(choice.id)) {
      const QSignalBlocker quiet(list);
      list->setCurrentIndex(list->count() > 0 ? 0 : -1);
      if (list->isEditable()) list->setEditText(QString::fromUtf8(kAnyChoiceText));
    }
  }
  reload();
}
