#include "scanner/scan_roots.h"

#include "common/text/text_codec.h"

void ScanRootTable::fill(const std::vector<std::string>& lines) {
  slots_ = {};
  std::size_t next = 0;
  for (const std::string& line : lines) {
    if (next == kSlots) break;
    if (line.empty() || line.size() > kMaxPathLength) continue;
    std::u16string wide;
    if (qevAnsiToWide(line, wide) != 1 || wide.empty() || wide.size() > kMaxPathLength) continue;
    slots_[next].used = 1;
    slots_[next].path = std::move(wide);
    ++next;
  }
}
