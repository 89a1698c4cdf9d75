#include "common/platform/console.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace sorrel::platform {

namespace {

// Reads one byte; answers on a byte, the end of input or an error (EINTR retried).
void readOneByte() {
  char byte = 0;
  while (read(STDIN_FILENO, &byte, 1) < 0 && errno == EINTR) {
  }
}

}  // namespace

void waitForOneKey() {
  termios saved {};
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0) {
    readOneByte();
    return;
  }
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  const bool switched = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
  readOneByte();
  if (switched) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

bool isTerminal(int stream) { return isatty(stream) == 1; }

int terminalColumns(int stream) {
  winsize size {};
  if (isatty(stream) != 1 || ioctl(stream, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

bool setTerminalEcho(int stream, bool echo) {
  termios mode {};
  if (isatty(stream) != 1 || tcgetattr(stream, &mode) != 0) return false;
  mode.c_lflag = echo ? (mode.c_lflag | ECHO) : (mode.c_lflag & static_cast<tcflag_t>(~ECHO));
  return tcsetattr(stream, TCSANOW, &mode) == 0;
}

std::uint32_t tickCountMilliseconds() {
  timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                     static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(milliseconds);
}

}  // namespace sorrel::platform
