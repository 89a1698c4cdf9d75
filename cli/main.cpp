#include "cli/sorrel_program.h"

int main(int argc, char** argv) { return qevRunSorrel(argc, argv); }
