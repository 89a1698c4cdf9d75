#include "maintenance/logs/download_events.h"

std::string qevDownloadEventText(const DownloadEvent& event) {
  const std::string file = event.ip + " " + event.name;
  switch (event.kind) {
    using Kind = DownloadEvent::Kind;
    case Kind::NoSession: return "服务器 " + event.ip + "：无法连接日志代理或会话被拒绝，跳过";
    case Kind::NoList: return "服务器 " + event.ip + "：读取日志文件列表失败，跳过";
    case Kind::Listed: return "服务器 " + event.ip + "：列出 " + std::to_string(event.count) + " 个日志文件";
    case Kind::ListCut:
      return "服务器 " + event.ip + "：本次最多处理 9999 个文件，其余 " + std::to_string(event.count) +
             " 个留待下次下载";
    case Kind::Fetched:
      return "已下载：" + file + "（" + std::to_string(event.size) + " 字节），" +
             (event.imported ? "已导入数据库" : "导入数据库失败");
    case Kind::AlreadyFetched: return "已经下载过，跳过：" + file;
    case Kind::SizeRefused: return "文件大小不在允许范围内，跳过：" + file;
    case Kind::FetchFailed: return "下载或校验失败：" + file;
    case Kind::StoreFailed: return "保存失败：" + file;
  }
  return {};
}
