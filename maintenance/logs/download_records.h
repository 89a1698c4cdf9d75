#pragma once
#include <cstdint>
#include <string>

// The bookkeeping of table downloadinfo: one row per server and listed file name. Each operation
// opens its own connection, runs one statement and closes; every value is bound, never
// formatted into the statement, so a name with an apostrophe is stored and found as it is. A
// data-store error is never shown: it gives 0. Lookups give 1 when a row matches, 2 when none
// does.

// A row with status "1" (fetched) for this server and name.
int qevIsLogFetched(const std::string& ip, const std::string& name);
// A row with filesize 0 (a placeholder another tool may have written) for this server and name.
int qevHasLogPlaceholder(const std::string& ip, const std::string& name);
// A row with adddb "1" (imported) for this server and name.
int qevIsLogImported(const std::string& ip, const std::string& name);

// Sets filesize and status "1" on the rows of this server and name. 1 done, 0 failure.
int qevMarkLogFetched(const std::string& ip, const std::string& name, std::uint64_t size);
// Inserts the row (ip, name, size, status "1", adddb "0"). 1 done, 0 failure.
int qevRecordLogFetched(const std::string& ip, const std::string& name, std::uint64_t size);
// Records a stored file: marks its placeholder row when there is one, else inserts a row; nothing
// when the lookup fails. 1 recorded, 0 not.
int qevRecordDownload(const std::string& ip, const std::string& name, std::uint64_t size);

// "delete from downloadinfo" and "delete from fmlog". 1 done, 0 failure.
int qevClearDownloadRows();
int qevClearLogRows();
