#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ScanRootSlot {
  std::uint32_t used = 0;  // 1 = used
  std::u16string path;
};

// A scan-list line that took no slot, so it is not walked.
struct RefusedScanRoot {
  std::string line;
  bool tooLong = false;  // else every slot was taken
};

// The directories of one run: 999 slots filled in scan-list order.
class ScanRootTable {
 public:
  static constexpr std::size_t kSlots = 999;
  static constexpr std::size_t kMaxPathLength = 259;

  // A line takes the next slot when its ANSI length and its wide length are both 1..259; other
  // lines take no slot. Once every slot is used, the remaining lines take none either.
  void fill(const std::vector<std::string>& lines);

  const std::array<ScanRootSlot, kSlots>& slots() const { return slots_; }
  const std::vector<RefusedScanRoot>& refused() const { return refused_; }

 private:
  std::array<ScanRootSlot, kSlots> slots_{};
  std::vector<RefusedScanRoot> refused_;
};
