#include "scanner/scanner_entry.h"

int main(int argc, char** argv) { return RunScanner(argc, argv); }
