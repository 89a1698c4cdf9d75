#include "maintenance/logs/server_edits.h"

#include "common/messages/prompter.h"
#include "common/text/trim.h"
#include "maintenance/logs/server_store.h"

namespace {

constexpr std::size_t kMinIpBytes = 7;
constexpr std::size_t kMaxIpBytes = 15;

constexpr const char* kIpWrong = "IP地址填写错误，请核对！";
constexpr const char* kPortWrong = "端口填写错误，请核对！";
constexpr const char* kUserWrong = "用户名填写错误，请核对！";
constexpr const char* kPasswordWrong = "密码填写错误，请核对！";
constexpr const char* kPasswordsDiffer = "两次填写的密码不一致，请核对！";
constexpr const char* kIpExists = "此IP地址已经存在，请核对！";
constexpr const char* kAdded = "增加IP成功！";
constexpr const char* kAddFailed = "增加IP时发生错误，请重试！";
constexpr const char* kDeleteQuestion = "确定删除此IP地址吗？";
constexpr const char* kIpMissing = "此IP地址不存在或已被删除，请核对！";
constexpr const char* kDeleted = "删除成功！";
constexpr const char* kDeleteFailed = "删除IP时发生错误，请重试！";
constexpr const char* kDeleteAllQuestion = "确定删除所有IP地址吗？";
constexpr const char* kAllDeleted = "删除完成！";

bool ipLengthFits(const std::string& ip) { return ip.size() >= kMinIpBytes && ip.size() <= kMaxIpBytes; }

ServerEdit refuse(Prompter& prompter, const char* message) {
  prompter.inform(message, MessageIcon::Question);
  return ServerEdit::Refused;
}

void reloadWith(const std::function<void()>& reload) {
  if (reload) reload();
}

}  // namespace

ServerEdit qevAddServer(Prompter& prompter, const ServerFields& fields, const std::function<void()>& reload) {
  ServerRow row;
  row.ip = qevTrimWhiteSpace(fields.ip);
  if (!ipLengthFits(row.ip)) return refuse(prompter, kIpWrong);
  row.port = qevTrimWhiteSpace(fields.port);
  if (row.port.empty()) return refuse(prompter, kPortWrong);
  row.username = qevTrimWhiteSpace(fields.username);
  if (row.username.empty()) return refuse(prompter, kUserWrong);
  row.password = qevTrimWhiteSpace(fields.password);
  if (row.password.empty()) return refuse(prompter, kPasswordWrong);
  if (qevTrimWhiteSpace(fields.repeatedPassword) != row.password) return refuse(prompter, kPasswordsDiffer);
  row.remark = qevTrimWhiteSpace(fields.remark);
  if (qevServerExists(row.ip) == 1) return refuse(prompter, kIpExists);

  if (qevAddServerRow(row) != 1) {
    prompter.inform(kAddFailed, MessageIcon::Question);
    return ServerEdit::Failed;
  }
  prompter.inform(kAdded, MessageIcon::Information);
  reloadWith(reload);
  return ServerEdit::Done;
}

ServerEdit qevDeleteServer(Prompter& prompter, const std::string& ip, const std::function<void()>& reload) {
  if (!prompter.askYesNo(kDeleteQuestion)) return ServerEdit::NotConfirmed;
  const std::string trimmed = qevTrimWhiteSpace(ip);
  if (!ipLengthFits(trimmed)) return refuse(prompter, kIpWrong);
  if (qevServerExists(trimmed) != 1) return refuse(prompter, kIpMissing);
  if (qevDeleteServerRow(trimmed) != 1) {
    prompter.inform(kDeleteFailed, MessageIcon::Question);
    return ServerEdit::Failed;
  }
  prompter.inform(kDeleted, MessageIcon::Information);
  reloadWith(reload);
  return ServerEdit::Done;
}

ServerEdit qevDeleteAllServers(Prompter& prompter, const std::function<void()>& reload) {
  if (!prompter.askYesNo(kDeleteAllQuestion)) return ServerEdit::NotConfirmed;
  const bool deleted = qevDeleteAllServerRows() == 1;
  reloadWith(reload);
  // A delete that did not happen is not reported as done: the reloaded list still shows the rows.
  if (!deleted) {
    prompter.inform(kDeleteFailed, MessageIcon::Question);
    return ServerEdit::Failed;
  }
  prompter.inform(kAllDeleted, MessageIcon::Information);
  return ServerEdit::Done;
}
