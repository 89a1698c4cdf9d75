#include "support/tree_snapshot.h"

#include <filesystem>

#include "support/files.h"

namespace fs = std::filesystem;

TreeSnapshot snapshotTree(const std::string& root) {
  TreeSnapshot snapshot;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    const fs::path& path = it->path();
    const std::string relative = path.string().substr(root.size());
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_symlink(status)) {
      snapshot[relative] = "link:" + fs::read_symlink(path).string();
    } else if (fs::is_directory(status)) {
      snapshot[relative] = "dir";
    } else {
      snapshot[relative] = "file:" + readFile(path.string());
    }
  }
  return snapshot;
}

void writeFileMakingParents(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  writeFile(path, bytes);
}
