#pragma once
#include <string>
#include <vector>

#include "maintenance/logs/server_row.h"

// Table serverip in the data store. Each operation opens its own connection, runs one statement
// and closes it; every value is quoted (apostrophes doubled), so no typed text can change a
// statement. A data-store error is never shown here: it gives 0.

// "select * from serverip order by ip asc": the first 1,000 rows in that order. 1 read (also
// when empty); 0 failure, rows emptied.
int qevLoadServerRows(std::vector<ServerRow>& rows);
// 1 at least one row has this ip, 2 none, 0 failure.
int qevServerExists(const std::string& ip);
// Inserts the row's five texts as they are. 1 done, 0 failure.
int qevAddServerRow(const ServerRow& row);
// Deletes every row with this ip. 1 done (also when none matched), 0 failure.
int qevDeleteServerRow(const std::string& ip);
// Deletes every row. 1 done, 0 failure.
int qevDeleteAllServerRows();
