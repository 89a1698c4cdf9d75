#include "scanner/classify_entry.h"

#include "scanner/console_texts.h"

namespace {

void printProgress(ConsoleOutput& console, int kind, std::uint32_t number, const std::string& name) {
  std::string line = kind == EntryDescription::kDirectory ? scanner_text::kProgressDirectory
                                                          : scanner_text::kProgressFile;
  line += std::to_string(number);
  line += " - ";
  line += name;
  line += " ...";
  console.print(line);
}

}  // namespace

int ClassifyEntry(ScanSession& session, const EntryDescription& entry) {
  // Rows gathered earlier are written once they have waited long enough, however long the walk
  // goes on without finding another special entry.
  session.recorder.writeIfDue();
  const std::uint32_t seenBefore = session.totals.countSeen(entry.kind);
  printProgress(session.console, entry.kind, seenBefore + 1, entry.ansiName);
  if (!session.names.isSpecial(entry.name)) return 0;
  session.totals.countSpecial(entry.kind);
  session.recorder.RecordEntry(entry);
  return 1;
}
