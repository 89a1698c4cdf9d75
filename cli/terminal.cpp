#include "cli/terminal.h"

#include "common/platform/console.h"

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
constexpr const char* kProgram = "sorrel";

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// Length of the UTF-8 sequence that starts with lead, and its code point; 1 and the byte
// itself for a byte that starts no valid sequence.
std::size_t decodeAt(const std::string& text, std::size_t at, char32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || at + length > text.size()) {
    code = lead;
    return 1;
  }
  code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      code = lead;
      return 1;
    }
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  return length;
}

bool isWide(char32_t code) {
  return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
         (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
         (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
         (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

// The longest start of text that fits in columns.
std::string fitted(const std::string& text, std::size_t columns) {
  std::size_t width = 0;
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    const std::size_t length = decodeAt(text, at, code);
    width += isWide(code) ? 2 : 1;
    if (width > columns) return text.substr(0, at);
    at += length;
  }
  return text;
}

}  // namespace

std::size_t qevDisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    at += decodeAt(text, at, code);
    width += isWide(code) ? 2 : 1;
  }
  return width;
}

std::string qevPrintableText(const std::string& text, bool keepLines) {
  std::string printable;
  printable.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    const std::size_t length = decodeAt(text, at, code);
    const bool kept = keepLines && (code == '\n' || code == '\t');
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);  // C0, DEL, C1 (or raw C1 bytes)
    if (control && !kept) {
      printable += '?';
    } else {
      printable.append(text, at, length);
    }
    at += length;
  }
  return printable;
}

Terminal::Streams Terminal::standardStreams() {
  Streams streams;
  streams.outIsTerminal = sorrel::platform::isTerminal(1);
  streams.inIsTerminal = sorrel::platform::isTerminal(0);
  streams.columns = sorrel::platform::terminalColumns(1);
  return streams;
}

Terminal::Terminal(std::string command, Streams streams) : command_(std::move(command)), streams_(streams) {}

void Terminal::print(const std::string& text) {
  clearProgress();
  std::string lines = text;
  replaceAll(lines, "\r\n", "\n");
  lines = qevPrintableText(lines, true) + "\n";
  std::fwrite(lines.data(), 1, lines.size(), streams_.out);
  std::fflush(streams_.out);
}

void Terminal::write(const std::string& bytes) {
  clearProgress();
  std::fwrite(bytes.data(), 1, bytes.size(), streams_.out);
  std::fflush(streams_.out);
}

void Terminal::fail(const std::string& text) {
  clearProgress();
  std::string line = text;
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) replaceAll(line, lineEnd, " ");
  while (line.find("  ") != std::string::npos) replaceAll(line, "  ", " ");
  const std::size_t last = line.find_last_not_of(' ');
  line = qevPrintableText(line.substr(0, last == std::string::npos ? 0 : last + 1), false);
  const std::string prefix = command_.empty() ? std::string(kProgram) : std::string(kProgram) + " " + command_;
  std::fprintf(streams_.err, "%s: %s\n", prefix.c_str(), line.c_str());
  std::fflush(streams_.err);
  ++failures_;
}

int Terminal::failOnce(const std::string& text) {
  if (failures_ == 0) fail(text);
  return 1;
}

void Terminal::progress(const std::string& text) {
  if (!streams_.outIsTerminal) return;
  const auto now = std::chrono::steady_clock::now();
  if (progressShown_ && now - lastProgress_ < kProgressInterval) return;
  lastProgress_ = now;
  const std::size_t columns = streams_.columns > 1 ? static_cast<std::size_t>(streams_.columns - 1) : 79;
  const std::string line = "\r" + fitted(qevPrintableText(text, false), columns) + "\033[K";
  std::fwrite(line.data(), 1, line.size(), streams_.out);
  std::fflush(streams_.out);
  progressShown_ = true;
}

void Terminal::clearProgress() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", streams_.out);
  std::fflush(streams_.out);
  progressShown_ = false;
}

std::string Terminal::ask(const std::string& question, const std::string& hint) {
  clearProgress();
  std::string text = question;
  replaceAll(text, "\r\n", "\n");
  text = qevPrintableText(text, true);
  std::fprintf(streams_.err, "%s %s ", text.c_str(), hint.c_str());
  std::fflush(streams_.err);
  return readLine();
}

std::string Terminal::askSecret(const std::string& question) {
  clearProgress();
  std::fprintf(streams_.err, "%s ", qevPrintableText(question, false).c_str());
  std::fflush(streams_.err);
  const int input = fileno(streams_.in);
  const bool hidden = sorrel::platform::setTerminalEcho(input, false);
  std::string answer = readLine();
  if (hidden) sorrel::platform::setTerminalEcho(input, true);
  std::fputs("\n", streams_.err);
  std::fflush(streams_.err);
  return answer;
}

std::string Terminal::readLine() {
  std::string line;
  for (int c = std::fgetc(streams_.in); c != EOF && c != '\n'; c = std::fgetc(streams_.in)) {
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}
