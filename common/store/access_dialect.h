#pragma once
#include <string>

// The programs write their statements in the Access dialect. SQLite knows no "select top N":
// a statement that starts with it becomes "select ... limit N"; every other text stays as given.
std::string qevTranslateAccessDialect(const std::string& statement);
