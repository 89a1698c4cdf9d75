#pragma once
#include <vector>

#include "maintenance/records/record_row.h"

// Date range codes of the list query.
inline constexpr int kRangeToday = 0;
inline constexpr int kRangeYesterday = 1;
inline constexpr int kRangeThreeDays = 3;
inline constexpr int kRangeWeek = 7;
inline constexpr int kRangeAll = 9999;

// Builds the list query from the sort keys, loads it and, when the load succeeds, shows it.
// The range code is kept but narrows nothing: the query has no condition. Answers 1.
int qevQueryRecords(int rangeCode);

// Range buttons off, range code 9999, qevQueryRecords(9999), buttons on. Safe from any thread:
// the work is carried out on the window's thread, one reload at a time.
void qevReloadAllRecords();

// The list query with the current sort keys, loaded into the record table, for a front end
// without a window: rows are the used entries in list order (row n of the list is rows[n - 1]).
// 1 loaded, 0 failure (rows empty).
int qevLoadRecordList(std::vector<RecordRow>& rows);

// Replaces the rows of the record list by the used entries of the record table. Answers 1.
int qevShowRecordTable();

// The range code of the last range command or reload (0 at start).
int qevRangeCode();
void qevSetRangeCode(int rangeCode);
