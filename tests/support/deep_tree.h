#pragma once
#include <string>

// A chain of directories "d/d/d..." levels deep below base, made relative to directory
// descriptors so that it may reach far beyond PATH_MAX. Answers the deepest directory's path.
std::string makeDeepTree(const std::string& base, int levels, const std::string& name = "d");

// Removes a tree of any depth (rm -rf walks by descriptors, where std::filesystem gives up).
void removeDeepTree(const std::string& path);
