#include "maintenance/cleaning/cleaning_state.h"

#include "common/files/settings.h"

GuardedValue<int>& qevCleaningActive() {
  static GuardedValue<int> flag;
  return flag;
}

GuardedValue<unsigned>& qevCleaningRequestsRaised() {
  static GuardedValue<unsigned> count;
  return count;
}

void qevRaiseCleaningRequest() {
  // Counted before the key is raised: a worker that sees the key has also seen the count.
  qevCleaningRequestsRaised().set(qevCleaningRequestsRaised().get() + 1);
  qevWriteSetting(kCleaningRequestKey, "1");
  qevCleaningActive().set(1);
}
