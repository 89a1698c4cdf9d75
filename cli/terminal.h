#pragma once
#include <chrono>
#include <cstdio>
#include <string>

// What sorrel writes and reads: results on standard output; every failure as one line
// "sorrel <command>: <text>" on standard error; the progress of a long pass as one updating line
// when standard output is a terminal (nothing in a pipe); questions only on a terminal.
// Texts that hold names from disk never reach the terminal with control characters in them:
// those are shown as "?", so a file name cannot steer the terminal.
class Terminal {
 public:
  struct Streams {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    std::FILE* in = stdin;
    bool outIsTerminal = false;
    bool inIsTerminal = false;
    int columns = 0;  // of the output terminal; 0 unknown
  };
  // The process's own streams, with what the system knows about them.
  static Streams standardStreams();

  Terminal(std::string command, Streams streams);

  // A text of the system on standard output; "\r\n" line ends become "\n", a newline follows.
  void print(const std::string& text);
  // Bytes on standard output exactly as given (JSON, which escapes its own control characters).
  void write(const std::string& bytes);

  // One line on standard error: the text's line breaks folded into blanks.
  void fail(const std::string& text);
  // fail(text) unless a failure line was written already. Answers the failure exit code.
  int failOnce(const std::string& text);
  bool reportedFailure() const { return failures_ > 0; }

  // Replaces the progress line (only on a terminal; a pipe stays quiet).
  void progress(const std::string& text);

  // A question can be asked: standard input is a terminal.
  bool canAsk() const { return streams_.inIsTerminal; }
  // Writes the question and the hint on standard error and reads one line of answer ("" at
  // the end of input).
  std::string ask(const std::string& question, const std::string& hint);
  // Asks like ask, but what is typed is not shown (a password); a newline follows the answer.
  std::string askSecret(const std::string& question);
  // One line of standard input without its line end ("" at the end of input).
  std::string readLine();

  const std::string& command() const { return command_; }

 private:
  void clearProgress();

  std::string command_;
  Streams streams_;
  int failures_ = 0;
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastProgress_{};
};

// Width of a UTF-8 text on a terminal: East Asian wide characters take two columns.
std::size_t qevDisplayWidth(const std::string& text);
// Control characters (C0, DEL and C1) replaced by "?"; "\n" and "\t" kept when keepLines.
std::string qevPrintableText(const std::string& text, bool keepLines);
