#include "scanner/entry_description.h"

#include "common/text/text_codec.h"

std::u16string EntryDescription::widePath() const {
  std::u16string wide;
  if (qevAnsiToWide(ansiPath, wide) != 1) wide.clear();
  return wide;
}
