#pragma once
#include <cstddef>
#include <string>

// What the whitelist and report commands read of one row of the monitor-log view.
struct ViewRow {
  bool checked = false;
  std::string path;      // column 4: the monitored file's path
  std::string category;  // column 5: its category
  std::string key;       // column 8: the row's key
};

// Texts the commands take from column 4: 1..32,767 bytes.
inline constexpr std::size_t kMaxViewPathBytes = 32767;
