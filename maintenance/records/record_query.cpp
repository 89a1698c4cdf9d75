#include "maintenance/records/record_query.h"

#include <atomic>
#include <vector>

#include "maintenance/records/record_list_host.h"
#include "maintenance/records/record_table.h"
#include "maintenance/records/sort_keys.h"

namespace {
std::atomic<RecordListHost*> registeredHost{nullptr};
int rangeCode = kRangeToday;
// A message box shown during a load runs a nested event loop, in which a queued reload could
// start inside the running one: such a reload is held back and run right after it instead.
bool querying = false;
bool queryAgain = false;

void queryOnce() {
  if (RecordListHost* host = qevRecordListHost()) host->fillFilterListsOnce();
  if (qevLoadRecordTable(qevSortKeys().listQuery()) == 1) qevShowRecordTable();
}
}  // namespace

void qevSetRecordListHost(RecordListHost* host) { registeredHost.store(host); }
RecordListHost* qevRecordListHost() { return registeredHost.load(); }

int qevRangeCode() { return rangeCode; }
void qevSetRangeCode(int code) { rangeCode = code; }

int qevShowRecordTable() {
  RecordListHost* host = qevRecordListHost();
  if (host == nullptr) return 1;
  std::vector<RecordRow> used;
  for (const RecordRow& entry : qevRecordTable().entries()) {
    if (entry.used) used.push_back(entry);
  }
  host->showRecordRows(std::move(used));
  return 1;
}

int qevLoadRecordList(std::vector<RecordRow>& rows) {
  rows.clear();
  if (qevLoadRecordTable(qevSortKeys().listQuery()) != 1) return 0;
  for (const RecordRow& entry : qevRecordTable().entries()) {
    if (entry.used) rows.push_back(entry);
  }
  return 1;
}

int qevQueryRecords(int /*rangeCode: no condition narrows the list*/) {
  if (querying) {
    queryAgain = true;
    return 1;
  }
  querying = true;
  do {
    queryAgain = false;
    queryOnce();
  } while (queryAgain);
  querying = false;
  return 1;
}

void qevReloadAllRecords() {
  RecordListHost* host = qevRecordListHost();
  const auto reload = [] {
    RecordListHost* current = qevRecordListHost();
    if (current != nullptr) current->setRangeButtonsEnabled(false);
    qevSetRangeCode(kRangeAll);
    qevQueryRecords(kRangeAll);
    if (current != nullptr) current->setRangeButtonsEnabled(true);
  };
  // Workers reach the list only through the window's thread, so reloads never overlap.
  if (host != nullptr && !host->onWindowThread()) {
    host->runOnWindowThread(reload);
    return;
  }
  reload();
}
