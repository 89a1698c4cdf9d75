#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ScanRootSlot {
  std::uint32_t used = 0;  // 1 = used
  std::u16string path;
};

// The directories of one run: 999 slots filled in scan-list order.
class ScanRootTable {
 public:
  static constexpr std::size_t kSlots = 999;
  static constexpr std::size_t kMaxPathLength = 259;

  // A line takes the next slot when its ANSI length and its wide length are both 1..259; other
  // lines take no slot. Stops when every slot is used.
  void fill(const std::vector<std::string>& lines);

  const std::array<ScanRootSlot, kSlots>& slots() const { return slots_; }

 private:
  std::array<ScanRootSlot, kSlots> slots_{};
};
