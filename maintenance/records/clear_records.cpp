#include "maintenance/records/clear_records.h"

#include "common/messages/prompter.h"
#include "common/store/datastore.h"
#include "maintenance/records/maintenance_requests.h"
#include "maintenance/records/record_query.h"

bool qevClearRecords(Prompter& prompter, const std::function<void()>& confirmed) {
  if (!prompter.askYesNo("确定清空数据库中的日志记录吗？")) return false;
  qevCheckFilesRequest().set(0);
  if (confirmed) confirmed();
  if (qevExecuteSql("delete from fileinfo") != 1) return false;
  qevReloadAllRecords();
  prompter.inform("数据库中的日志记录已经清空！\r\n\r\n\r\n下一步，请重新扫描网站目录中的文件。", MessageIcon::Information);
  return true;
}
