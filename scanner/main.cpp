#include <cstdio>

int main() {
  std::fprintf(stderr, "Sorrelscan: the scan is not built yet.\n");
  return 1;
}
