#pragma once
#include <functional>
#include <string>
#include <vector>

class Prompter;

// Command 1050, the compaction of the recorded database files: after the help page check, the
// question and the check of two companion programs, the web server is stopped with
// "qeviisreset /stop", every row of fileinfo is marked '2' and the cleaning request is raised;
// the cleaning worker then moves every recorded entry into the backup tree of its volume.
// The command runs in three steps so that a window can wait for the companion without
// blocking its thread: begin, stop the web server (on another thread), raise the request.

inline constexpr const char* kHelpPageName = "HelpMon.dat";
inline constexpr const char* kHelpCheckFileName = "HelpMon.Dat.in";
inline constexpr const char* kWebServerStopToolName = "qeviisreset";

// The help page check: config/HelpMon.dat must match the FileChkVal of config/HelpMon.Dat.in
// (section "Sorrelscan", case ignored). 1 with the help URL
// "file://<page path>?SessionId=<six pseudo-random numbers>", or 0 after telling the operator
// why not (stop icon).
int qevCheckHelpPage(Prompter& prompter, std::string& helpUrl);

struct CompactionStart {
  bool confirmed = false;                // every check passed and the operator said Yes
  std::vector<std::string> stopCommand;  // the companion's path and "/stop"
};

// The steps up to the stop of the web server: the record list must have rows (listRows), the
// help page must pass its check; showHelpPage then gets the help URL before the operator is
// asked; qevxconfig and qeviisreset must exist in the program directory and match their check
// values in config/<name>.in. A refusal is told to the operator; nothing is changed before
// confirmed is true, and no companion is started here.
CompactionStart qevBeginCompaction(Prompter& prompter, int listRows,
                                   const std::function<void(const std::string& helpUrl)>& showHelpPage);

// Runs the stop command and waits, without a time-out, until it has ended; its exit code is not
// examined. giveUp is asked every 50 ms: once it answers true (the window closes) the wait ends
// and the companion is left to run. True when the compaction goes on (the companion ended, or
// could not be started: that is not reported); false when the wait was given up.
bool qevStopWebServer(const CompactionStart& start, const std::function<bool()>& giveUp);

// The last steps: every row of fileinfo marked '2' (filesize2 '0'), the cleaning request raised,
// and the operator told that compaction has started. When the store refuses the marks, the
// operator is told so instead (kMarkingFailedMessage) and no request is raised.
void qevRaiseCompactionRequest(Prompter& prompter);

inline constexpr const char* kCompactionStartedMessage = "已经开始压缩数据库文件，请稍候……";
