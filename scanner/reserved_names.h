#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A wide table of reserved names: 100 slots, used in order, each name 1..31 characters.
struct ReservedNameSlot {
  std::uint32_t used = 0;  // 1 = used
  std::u16string name;
};

class ReservedNameTable {
 public:
  static constexpr std::size_t kSlots = 100;
  static constexpr std::size_t kMaxNameLength = 31;

  // Zeroes the table, then gives each name the next slot when its ANSI length and its wide
  // length are both 1..31; other names are skipped. Stops when every slot is used.
  void fill(const std::vector<std::string>& ansiNames);

  const std::array<ReservedNameSlot, kSlots>& slots() const { return slots_; }

 private:
  std::array<ReservedNameSlot, kSlots> slots_{};
};

// "con.", "prn.", "aux.", "nul.", "COM1." .. "COM9.", "LPT1." .. "LPT9." (22 names).
std::vector<std::string> DottedReservedNames();
// The same without the dots (22 names).
std::vector<std::string> PlainReservedNames();

// Both tables, built once per run before the scan list is read.
struct ReservedNames {
  ReservedNameTable dotted;
  ReservedNameTable plain;

  void build();
  // True for a name the Windows shell cannot handle: a reserved name, a reserved name followed
  // by a dot and anything, or a name that ends in a dot or a space.
  bool isSpecial(const std::u16string& name) const;
};
