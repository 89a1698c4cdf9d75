#include "maintenance/records/selected_path.h"

GuardedValue<std::u16string>& qevSelectedPath() {
  static GuardedValue<std::u16string> path;
  return path;
}
