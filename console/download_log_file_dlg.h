#pragma once
#include <QDialog>
#include <vector>

#include "maintenance/logs/download_status.h"

class QTableWidget;

// The download status window "日志文件下载状态": a modeless window listing the rows of table
// downloadinfo (number, server ip, file name, size, download state, import state). It shows
// what its last reload read until "刷新" is pressed; closing only hides it. The handlers are
// public so tests drive the window without an event loop.
class CDownloadLogFileDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDownloadLogFileDlg(QWidget* parent = nullptr);

  void onReload();  // button 1010 "刷新"; also done once when the window is made

  QTableWidget& list() { return *list_; }  // list 1014
  const std::vector<DownloadStatusRow>& rows() const { return rows_; }

 protected:
  void done(int result) override;  // 1004 "关闭", Enter and Esc: hide, keep the list

 private:
  void showRows();

  QTableWidget* list_ = nullptr;
  std::vector<DownloadStatusRow> rows_;
};
