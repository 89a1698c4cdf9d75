#include "common/process/process.h"

#include <string_view>

#include "common/files/paths.h"
#include "common/files/text_files.h"
#include "common/messages/event_report.h"
#include "common/platform/process.h"
#include "common/platform/system.h"
#include "common/text/check_value.h"
#include "common/text/text_codec.h"

namespace {

namespace platform = sorrel::platform;

constexpr std::size_t kMaxProgramDirBytes = 260;
constexpr std::size_t kMaxNameBytes = 259;
constexpr std::size_t kMaxCheckLineBytes = 8192;
constexpr int kTerminalGraceMilliseconds = 500;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Settings-file values may be written in one pair of quotes.
std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value.remove_prefix(1);
    value.remove_suffix(1);
  }
  return value;
}

bool isNotAnEntry(std::string_view line) {
  const char first = line.front();
  return first == '[' || first == ';' || first == '#' || first == '!' || first == '=';
}

enum class LineMatch { other, found, badValue };

// One trimmed line of a check-value file: is it the FileChkVal entry, and is its value usable?
LineMatch matchCheckValueLine(std::string_view line, std::string& value) {
  if (line.size() < 3 || line.size() > kMaxCheckLineBytes || isNotAnEntry(line)) return LineMatch::other;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals < 2) return LineMatch::other;
  if (!equalsIgnoringCase(trim(line.substr(0, equals)), "FileChkVal")) return LineMatch::other;
  const std::string_view found = unquote(trim(line.substr(equals + 1)));
  if (found.empty() || found.size() > kMaxNameBytes) return LineMatch::badValue;
  value.assign(found);
  return LineMatch::found;
}

bool isProgramDirShape(const std::string& dir) {
  return dir.size() >= 3 && dir.size() <= kMaxProgramDirBytes && dir.front() == '/' && dir.back() == '/';
}

struct ProcessListTexts {
  const char* notReadable;
  const char* noFirstEntry;
};

constexpr ProcessListTexts kListTexts{
    "qevGetProcessList - hProcessSnap == INVALID_HANDLE_VALUE - CreateToolhelp32Snapshot (of processes)",
    "qevGetProcessList - !Process32First( hProcessSnap, &pe32 ) - Process32First"};

constexpr ProcessListTexts kTerminateTexts{
    "qevTerminateProcess - hProcessSnap == INVALID_HANDLE_VALUE - CreateToolhelp32Snapshot (of processes)",
    "qevTerminateProcess - !Process32First( hProcessSnap, &pe32 ) - Process32First"};

// The live processes; false (reported) when the list cannot be read.
bool readProcessList(const ProcessListTexts& texts, std::vector<platform::ProcessEntry>& entries) {
  switch (platform::listProcesses(entries)) {
    case platform::ProcessListResult::listed:
      return true;
    case platform::ProcessListResult::notReadable:
      qevReportEvent(texts.notReadable, nullptr, nullptr);
      return false;
    case platform::ProcessListResult::noFirstEntry:
      qevReportEvent(texts.noFirstEntry, nullptr, nullptr);
      return false;
  }
  return false;
}

bool isUsableExeName(const std::string& exeName) {
  return !exeName.empty() && exeName.size() <= kMaxNameBytes;
}

// The processes of one program: started from the file exeName (case ignored) in programDir.
// Another installation's program of the same name lives in another directory and is not ours.
class ProgramMatch {
 public:
  ProgramMatch(const std::string& programDir, const std::string& exeName) : exeName_(exeName) {
    std::string directory = programDir;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    // The kernel names an executable by its real path: the program directory may be reached
    // through a link.
    if (!platform::resolvedPath(directory, directory_)) directory_ = qevCollapseSeparators(directory);
  }

  bool matches(const platform::ProcessEntry& entry) const {
    return !entry.directory.empty() && entry.directory == directory_ && equalsIgnoringCase(entry.name, exeName_);
  }

 private:
  std::string directory_;
  std::string exeName_;
};

}  // namespace

int qevRunProgram(const std::vector<std::string>& argv, int wait) {
  pid_t pid = 0;
  return platform::spawnProcess(argv, wait == 1, pid) ? 1 : 0;
}

int qevRunProgramUntil(const std::vector<std::string>& argv, const std::function<bool()>& giveUp) {
  switch (platform::spawnAndWaitUnless(argv, giveUp)) {
    case platform::WaitOutcome::ended: return 1;
    case platform::WaitOutcome::gaveUp: return 2;
    case platform::WaitOutcome::notStarted: return 0;
  }
  return 0;
}

int qevRunProgramW(const std::vector<std::u16string>& argv) {
  std::vector<std::string> converted;
  converted.reserve(argv.size());
  for (const std::u16string& argument : argv) {
    std::string ansi;
    // An empty argument is a real (empty) argument, not a conversion failure.
    if (!argument.empty() && qevWideToAnsi(argument, ansi) != 1) return 0;
    converted.push_back(std::move(ansi));
  }
  return qevRunProgram(converted, 0);
}

int qevRunProgramInTerminal(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return 0;
  const bool hasDisplay = platform::environmentHas("DISPLAY") || platform::environmentHas("WAYLAND_DISPLAY");
  if (hasDisplay && platform::isOnPath("x-terminal-emulator")) {
    std::vector<std::string> inTerminal{"x-terminal-emulator", "-e"};
    inTerminal.insert(inTerminal.end(), argv.begin(), argv.end());
    // A terminal that cannot open its display ends at once and would take the program with
    // it: then the program runs detached instead.
    const auto outcome = platform::spawnAndWatch(inTerminal, kTerminalGraceMilliseconds);
    if (outcome == platform::EarlyOutcome::stillRunning || outcome == platform::EarlyOutcome::endedWell) {
      return 1;
    }
  }
  return qevRunProgram(argv, 0);
}

int qevReadCheckValueFile(const std::string& path, std::string& value) {
  if (path.empty()) return 0;
  std::string text;
  if (qevReadFileText(path, text) != 1) return 0;
  // Lines end in "\r\n"; a bare "\n" is accepted too (the trim removes the "\r").
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    std::string found;
    switch (matchCheckValueLine(line, found)) {
      case LineMatch::other:
        continue;
      case LineMatch::badValue:
        return 0;
      case LineMatch::found:
        value = std::move(found);
        return 1;
    }
  }
  return 0;
}

int qevVerifyCompanionExe(const std::string& programDir, const std::string& exeName,
                          const std::string& folder) {
  if (!isProgramDirShape(programDir) || !isUsableExeName(exeName)) return 0;
  const std::string checkFile = qevCollapseSeparators(programDir + "/" + folder + "/" + exeName + ".in");
  std::string stored;
  if (qevReadCheckValueFile(checkFile, stored) != 1) return 0;
  const std::string executable = qevCollapseSeparators(programDir + "/" + exeName);
  if (executable.empty() || executable.front() != '/') return 0;
  std::string computed;
  if (qevFileCheckValue(executable, kCheckName, computed) != 1 || computed.size() != 32) return 0;
  return equalsIgnoringCase(stored, computed) ? 1 : 0;
}

int qevGetProcessList(const std::string& programDir, const std::string& exeName) {
  std::vector<platform::ProcessEntry> entries;
  if (!readProcessList(kListTexts, entries)) return 0;
  const ProgramMatch program(programDir, exeName);
  for (const platform::ProcessEntry& entry : entries) {
    if (program.matches(entry)) return 1;
  }
  return 2;
}

int qevTerminateProcess(const std::string& programDir, const std::string& exeName) {
  std::vector<platform::ProcessEntry> entries;
  if (!readProcessList(kTerminateTexts, entries)) return 0;
  const ProgramMatch program(programDir, exeName);
  bool ended = false;
  for (const platform::ProcessEntry& entry : entries) {
    if (!program.matches(entry)) continue;
    switch (platform::killProcess(entry.pid)) {
      case platform::KillResult::killed:
        ended = true;
        break;
      case platform::KillResult::alreadyGone:
        // It ended between the listing and the signal: nothing left to end.
        break;
      case platform::KillResult::refused:
        return 0;
    }
  }
  return ended ? 1 : 2;
}
