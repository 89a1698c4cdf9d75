#include "maintenance/records/maintenance_requests.h"

#include "common/messages/prompter.h"

GuardedValue<int>& qevCheckFilesRequest() {
  static GuardedValue<int> flag;
  return flag;
}

GuardedValue<int>& qevDeleteDuplicatesRequest() {
  static GuardedValue<int> flag;
  return flag;
}

namespace {

// A check in progress may be given up; the question is the same from both commands.
void offerToAbandonCheck(Prompter& prompter) {
  if (!prompter.askOkCancel(kCheckFilesRunningQuestion)) qevCheckFilesRequest().set(0);
}

}  // namespace

void qevRequestCheckFiles(Prompter& prompter) {
  if (qevCheckFilesRequest().get() == 1) {
    offerToAbandonCheck(prompter);
    return;
  }
  if (prompter.askYesNo(kCheckFilesQuestion)) qevCheckFilesRequest().set(1);
}

bool qevRequestDeleteDuplicates(Prompter& prompter) {
  if (qevCheckFilesRequest().get() == 1) {
    offerToAbandonCheck(prompter);
    return false;
  }
  if (qevDeleteDuplicatesRequest().get() == 1) {
    if (!prompter.askOkCancel(kDeleteDuplicatesRunningQuestion)) qevDeleteDuplicatesRequest().set(0);
    return false;
  }
  if (!prompter.askYesNo(kDeleteDuplicatesQuestion)) return false;
  qevDeleteDuplicatesRequest().set(1);
  return true;
}
