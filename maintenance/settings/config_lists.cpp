#include "maintenance/settings/config_lists.h"

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/files/text_files.h"
#include "common/messages/operator_message.h"
#include "common/messages/prompter.h"
#include "common/process/process.h"

namespace {

bool existsOrCreated(const std::string& directory) {
  return qevPathExists(directory) == 1 || qevCreateDirectoryChain(directory) == 1;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

std::string qevConfigDirectoryOf(const std::string& programDir) {
  return qevCollapseSeparators(programDir + "/" + kConfigFolder);
}

std::string qevOpenConfigDirectory() {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) return {};
  const std::string configDir = qevConfigDirectoryOf(programDir);
  if (!existsOrCreated(configDir) || qevPathExists(configDir) != 1) return {};
  return configDir;
}

std::string qevUsableConfigDirectory(Prompter& prompter) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return {};
  }
  const std::string configDir = qevConfigDirectoryOf(programDir);
  if (!existsOrCreated(configDir)) {
    prompter.inform("建立目录“" + configDir + "”失败，请重试！", MessageIcon::Question);
    return {};
  }
  if (qevPathExists(configDir) != 1) {
    prompter.inform("保存配置文件失败，目录“" + configDir + "”无法访问，请重试！", MessageIcon::Question);
    return {};
  }
  return configDir;
}

std::string qevConfigFilePath(const std::string& configDir, const std::string& fileName) {
  return qevCollapseSeparators(configDir + "/" + fileName);
}

std::string qevLoadListForEditing(const std::string& configDir, const std::string& fileName) {
  std::string text;
  if (configDir.empty() || qevReadFileText(qevConfigFilePath(configDir, fileName), text) != 1) return {};
  // Two passes, so that runs of up to four blank lines close up.
  for (int pass = 0; pass < 2; ++pass) replaceAll(text, "\r\n\r\n", "\r\n");
  return text;
}
