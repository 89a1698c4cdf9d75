#pragma once
#include <string>

#include "common/threads/guarded_value.h"

// The full path of the entry last right-clicked in the record list, with its own lock: written
// by the context menu, read by "打开文件所在目录". A row whose path cannot be resolved leaves the
// previous entry's path in place.
GuardedValue<std::u16string>& qevSelectedPath();
