// Notifications of the record list: row click (preview), right click (context menu) and header
// click (sort). Item changes, activation and keys need no answer.
#include <QMenu>

#include "common/store/datastore.h"
#include "console/command_ids.h"
#include "console/record_list_model.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/records/record_preview.h"
#include "maintenance/records/record_query.h"
#include "maintenance/records/selected_path.h"
#include "maintenance/records/sort_keys.h"

using namespace command_id;

namespace {
constexpr std::size_t kMaxRecordIdLength = 1023;
}  // namespace

void CSorrelmedeDlg::onRecordRowClicked(int row) {
  if (row < 0 || row >= records_->rows()) return;
  if (helpPaneFlag_ == 1) {
    helpPaneFlag_ = 0;
    control(kHelpPane)->hide();
    control(kPreviewPane)->show();
  }
  setPreviewText({});
  showPreviewText();
  setPreviewText(qevRecordPreviewText(records_->text(row, 6), records_->text(row, 2), records_->text(row, 7)));
  showPreviewText();
}

void CSorrelmedeDlg::onRecordContextMenu(int row, const QPoint& globalPosition) {
  if (row < 0 || row >= records_->rows()) return;
  // popup returns at once: the chosen command arrives after this handler has finished.
  contextMenu_->popup(globalPosition);
  const std::string recordId = records_->text(row, 7);
  if (recordId.empty() || recordId.size() > kMaxRecordIdLength) return;
  std::u16string path;
  if (qevGetRecordPath(recordId, path) == 1) qevSelectedPath().set(path);
}

void CSorrelmedeDlg::onRecordHeaderClicked(int column) {
  qevSortKeys().clickHeader(column);
  setRangeButtonsEnabled(false);
  qevQueryRecords(qevRangeCode());
  setRangeButtonsEnabled(true);
}
