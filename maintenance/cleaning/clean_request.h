#pragma once
#include <functional>
#include <string>
#include <vector>

class Prompter;

// A checked row of the record list: its path text (column 6) and record id (column 7, the
// row's filenameid).
struct CheckedEntry {
  std::string path;
  std::string recordId;
};

// Shows the kept paths for confirmation; true when the operator confirmed.
using CleaningConfirmation = std::function<bool(const std::vector<std::string>& paths)>;

// Shown when the rows could not be marked (a busy or failing store): nothing was changed.
inline constexpr const char* kMarkingFailedMessage = "读取数据库时发生错误，请重试！";

// The clean command. listRows is the number of rows the record list shows; checked are its
// checked rows in list order, taken before any dialog opens (a reload inside a dialog's event
// loop replaces the rows and their marks). Rows whose path is 1..32,767 bytes are kept; after
// confirmation every row is reset to '0' and the kept rows are marked '2' in one transaction,
// and the cleaning request is raised for the cleaning worker. When the store refuses the
// marking, kMarkingFailedMessage is shown instead and no request is raised.
void qevRequestCleaning(Prompter& prompter, int listRows, const std::vector<CheckedEntry>& checked,
                        const CleaningConfirmation& confirm);

// The clean command up to the marking, for a front end that runs the pass itself: the same
// checks and confirmation, then every row reset to '0' and the kept rows marked '2'. No request
// is raised, so no cleaning worker starts a second pass over the same rows. True when marked;
// false after telling the operator why not (kMarkingFailedMessage when the store refused).
bool qevMarkForCleaning(Prompter& prompter, int listRows, const std::vector<CheckedEntry>& checked,
                        const CleaningConfirmation& confirm);

// The stop command: withdraws the request; a running pass stops before its next entry.
void qevStopCleaning(Prompter& prompter);

// The start message of a confirmed cleaning: names the backup root of each volume that holds one
// of the paths (the pass adds its date and time below it).
std::string qevCleaningStartedMessage(const std::vector<std::string>& paths);
