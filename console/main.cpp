#include "console/sorrelmede_app.h"

int main(int argc, char** argv) {
  CSorrelmedeApp application;
  return application.run(argc, argv);
}
