#include "console/download_log_file_dlg.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <array>

namespace {

constexpr int kListId = 1014;
constexpr int kReloadButton = 1010;
constexpr int kCloseButton = 1004;
constexpr int kSizeColumn = 3;

struct Column {
  const char* title;
  int width;
};
constexpr std::array<Column, 6> kColumns = {Column{"序号", 40},     Column{"服务器IP", 100}, Column{"文件名", 200},
                                            Column{"大小", 80},     Column{"下载状态", 80},  Column{"导入数据库", 118}};

QString text(const std::string& value) { return QString::fromStdString(value); }

QPushButton* addButton(QDialog* dialog, int id, const char* caption, int x) {
  auto* button = new QPushButton(QString::fromUtf8(caption), dialog);
  button->setObjectName(QString::number(id));
  button->setGeometry(x, 376, 90, 30);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CDownloadLogFileDlg::CDownloadLogFileDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("日志文件下载状态"));
  setModal(false);
  setFixedSize(660, 420);

  list_ = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
  list_->setObjectName(QString::number(kListId));
  list_->setGeometry(12, 12, 636, 350);
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < static_cast<int>(kColumns.size()); ++column) {
    auto* header = new QTableWidgetItem(QString::fromUtf8(kColumns[static_cast<std::size_t>(column)].title));
    if (column == kSizeColumn) header->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    list_->setHorizontalHeaderItem(column, header);
    list_->setColumnWidth(column, kColumns[static_cast<std::size_t>(column)].width);
  }

  connect(addButton(this, kReloadButton, "刷新", 460), &QPushButton::clicked, this, [this] { onReload(); });
  connect(addButton(this, kCloseButton, "关闭", 558), &QPushButton::clicked, this, [this] { done(Accepted); });

  onReload();
}

void CDownloadLogFileDlg::onReload() {
  // An empty table or a store that cannot be read leaves the list empty, without a message.
  qevLoadDownloadStatusRows(rows_);
  showRows();
}

void CDownloadLogFileDlg::showRows() {
  list_->clearContents();
  list_->setRowCount(static_cast<int>(rows_.size()));
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    const DownloadStatusRow& stored = rows_[static_cast<std::size_t>(row)];
    const std::array<QString, 6> cells = {QString::number(row + 1),
                                          text(stored.ip),
                                          text(stored.filename),
                                          text(stored.filesize),
                                          text(qevDownloadStatusText(stored.status)),
                                          text(qevImportStatusText(stored.adddb))};
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
      if (column == kSizeColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      list_->setItem(row, column, item);
    }
  }
}

void CDownloadLogFileDlg::done(int result) {
  hide();
  setResult(result);
}
