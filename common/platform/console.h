#pragma once
#include <cstdint>

// The program's own console: the final wait for a key and a millisecond tick count.
namespace sorrel::platform {

// Waits for one key without echo when standard input is a terminal; otherwise reads one byte.
// The end of input (or an unreadable input) also ends the wait, so a program started without a
// terminal never hangs here.
void waitForOneKey();

// Milliseconds since an arbitrary fixed point, wrapping at 2^32 like a 32-bit tick counter.
std::uint32_t tickCountMilliseconds();

}  // namespace sorrel::platform
