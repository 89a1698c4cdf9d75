#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/messages/operator_message.h"
#include "common/store/datastore.h"

namespace {

void showDirectoryMessage(const char* before, const std::string& directory, const char* after) {
  qevShowOperatorMessage(std::string(before) + directory + after, MessageIcon::Question);
}

}  // namespace

int qevGetDataStorePath(std::string& path) {
  path.clear();
  std::string exeDir;
  if (qevGetExeDir(exeDir) != 1) {
    qevShowOperatorMessage(kExeDirFailedMessage, MessageIcon::Question);
    return 0;
  }
  const std::string directory = qevCollapseSeparators(exeDir + "/config");
  if (qevPathExists(directory) != 1 && qevCreateDirectoryChain(directory) != 1) {
    showDirectoryMessage("建立目录“", directory, "”失败，请重试！");
    return 0;
  }
  if (qevPathExists(directory) != 1) {
    showDirectoryMessage("保存配置文件失败，目录“", directory, "”无法访问，请重试！");
    return 0;
  }
  path = qevCollapseSeparators(directory + "/" + kDataStoreFileName);
  return 1;
}

// The connection string is the path of the store itself: SQLite needs nothing else.
int qevGetConnectionString(std::string& connection) {
  connection.clear();
  std::string path;
  if (qevGetDataStorePath(path) != 1) return 0;
  connection = path;
  return 1;
}
