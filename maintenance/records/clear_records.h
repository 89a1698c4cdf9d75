#pragma once
#include <functional>

class Prompter;

// The clear command: after the operator's Yes, withdraws the check-files request, calls
// confirmed (the window empties its preview), deletes every fileinfo row, reloads the record
// list and reports it. A failed delete shows nothing and keeps the list. True when deleted.
bool qevClearRecords(Prompter& prompter, const std::function<void()>& confirmed);
