// Writes "FileChkVal=<check value>" of an executable into its check-value file, so that the
// desktop program accepts the staged scanner.
#include <cstdio>
#include <fstream>
#include <string>

#include "common/text/check_value.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s EXECUTABLE CHECK_VALUE_FILE\n", argv[0]);
    return 2;
  }
  std::string value;
  if (qevFileCheckValue(std::string(argv[1]), kCheckName, value) != 1) {
    std::fprintf(stderr, "cannot compute the check value of %s\n", argv[1]);
    return 1;
  }
  const std::string text = "[" + std::string(kCheckName) + "]\r\nFileChkVal=" + value + "\r\n";
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
