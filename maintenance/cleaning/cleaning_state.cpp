#include "maintenance/cleaning/cleaning_state.h"

GuardedValue<int>& qevCleaningActive() {
  static GuardedValue<int> flag;
  return flag;
}

GuardedValue<unsigned>& qevCleaningRequestsRaised() {
  static GuardedValue<unsigned> count;
  return count;
}
