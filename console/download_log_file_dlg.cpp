#include "console/download_log_file_dlg.h"

#include <QPushButton>
#include <QTableWidget>
#include <array>

#include "console/report_list.h"

namespace {

constexpr int kListId = 1014;
constexpr int kReloadButton = 1010;
constexpr int kCloseButton = 1004;
constexpr int kSizeColumn = 3;

constexpr std::array<ReportColumn, 6> kColumns = {ReportColumn{"序号", 40},     ReportColumn{"服务器IP", 100},
                                                  ReportColumn{"文件名", 200},  ReportColumn{"大小", 80},
                                                  ReportColumn{"下载状态", 80}, ReportColumn{"导入数据库", 118}};

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

  list_ = new QTableWidget(this);
  list_->setObjectName(QString::number(kListId));
  list_->setGeometry(12, 12, 636, 350);
  qevSetUpReportList(*list_, kColumns);
  list_->horizontalHeaderItem(kSizeColumn)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);

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
