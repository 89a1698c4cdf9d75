#include "support/deep_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "support/program_dir.h"

std::string makeDeepTree(const std::string& base, int levels, const std::string& name) {
  int current = open(base.c_str(), O_RDONLY | O_DIRECTORY);
  std::string path = base;
  for (int level = 0; level < levels && current >= 0; ++level) {
    if (mkdirat(current, name.c_str(), 0755) != 0 && errno != EEXIST) break;
    const int next = openat(current, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(current);
    current = next;
    path += "/" + name;
  }
  if (current < 0) throw std::runtime_error("cannot build the deep tree below " + base);
  close(current);
  return path;
}

void removeDeepTree(const std::string& path) { runShell("rm -rf '" + path + "'"); }
