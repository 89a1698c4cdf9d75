#include "scanner/scan_roots.h"

#include "common/text/text_codec.h"

void ScanRootTable::fill(const std::vector<std::string>& lines) {
  slots_ = {};
  refused_.clear();
  std::size_t next = 0;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    std::u16string wide;
    if (line.size() > kMaxPathLength || qevAnsiToWide(line, wide) != 1 || wide.empty() ||
        wide.size() > kMaxPathLength) {
      refused_.push_back({line, true});
      continue;
    }
    if (next == kSlots) {
      refused_.push_back({line, false});
      continue;
    }
    slots_[next].used = 1;
    slots_[next].path = std::move(wide);
    ++next;
  }
}
