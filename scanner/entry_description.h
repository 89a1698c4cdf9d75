#pragma once
#include <cstdint>
#include <string>

// One listed entry, handed from the walk to the classifier and on to the recorder.
struct EntryDescription {
  static constexpr int kFile = 1;
  static constexpr int kDirectory = 2;

  int kind = kFile;
  std::u16string name;
  // The name's bytes as listed (the lossless ANSI form of name), for the progress line.
  std::string ansiName;
  // The full path as walked, in bytes; widePath() gives the UTF-16 form the recorder stores.
  std::string ansiPath;
  // Size of the entry itself; 0 for directories.
  std::uint64_t size = 0;

  std::u16string widePath() const;
};
