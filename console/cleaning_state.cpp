#include "console/cleaning_state.h"

GuardedValue<int>& qevCleaningActive() {
  static GuardedValue<int> flag;
  return flag;
}
