#include "scanner/run_totals.h"

#include "scanner/console_texts.h"
#include "scanner/entry_description.h"

void RunTotals::reset() {
  std::lock_guard guard(lock_);
  totals_ = {};
}

std::uint32_t RunTotals::countSeen(int kind) {
  std::lock_guard guard(lock_);
  const std::uint32_t before = totals_.filesSeen + totals_.directoriesSeen;
  if (kind == EntryDescription::kFile) ++totals_.filesSeen;
  if (kind == EntryDescription::kDirectory) ++totals_.directoriesSeen;
  return before;
}

void RunTotals::countSpecial(int kind) {
  std::lock_guard guard(lock_);
  if (kind == EntryDescription::kFile) ++totals_.specialFiles;
  if (kind == EntryDescription::kDirectory) ++totals_.specialDirectories;
}

void RunTotals::countNotWalked() {
  std::lock_guard guard(lock_);
  ++totals_.directoriesNotWalked;
}

RunTotalsSnapshot RunTotals::snapshot() const {
  std::lock_guard guard(lock_);
  return totals_;
}

std::string FormatRunSummary(const RunTotalsSnapshot& totals, std::uint32_t elapsedMilliseconds) {
  const auto number = [](std::uint32_t value) { return std::to_string(value); };
  std::string text = "\r\n\r\n";
  text += "\r\n扫描文件完成，累计扫描 " + number(totals.directoriesSeen) + " 个目录，" +
          number(totals.filesSeen) + " 个文件，用时 " + number(elapsedMilliseconds / 1000) +
          " 秒\r\n\r\n其中包含特殊字符或带点的目录 " + number(totals.specialDirectories) +
          " 个，文件 " + number(totals.specialFiles) + " 个";
  if (totals.directoriesNotWalked > 0) {
    text += scanner_text::kNotWalkedCount + number(totals.directoriesNotWalked) + scanner_text::kNotWalkedCountEnd;
  }
  text += "\r\n\r\n\r\n";
  text += scanner_text::kCloseWindow;
  text += "\r\n";
  return text;
}
