#include <cstdio>

int main() {
  std::fprintf(stderr, "Sorrelmede: the desktop program is not built yet.\n");
  return 1;
}
