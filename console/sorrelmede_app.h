#pragma once

// The desktop program: one modal main window; the program ends when it closes. No command-line
// argument is read and nothing is saved on exit.
class CSorrelmedeApp {
 public:
  int run(int argc, char** argv);
};
