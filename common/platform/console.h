#pragma once
#include <cstdint>

// The program's own console: the final wait for a key and a millisecond tick count.
namespace sorrel::platform {

// Waits for one key without echo when standard input is a terminal; otherwise reads one byte.
// The end of input (or an unreadable input) also ends the wait, so a program started without a
// terminal never hangs here.
void waitForOneKey();

// Standard streams of the program: 0 input, 1 output, 2 error.
bool isTerminal(int stream);
// Width of the terminal behind a stream in columns; 0 when it is not a terminal or unknown.
int terminalColumns(int stream);

// Switches the echo of typed characters on or off on a terminal behind the stream; false when
// the stream is not a terminal or its mode cannot be changed (then nothing changed).
bool setTerminalEcho(int stream, bool echo);

// Milliseconds since an arbitrary fixed point, wrapping at 2^32 like a 32-bit tick counter.
std::uint32_t tickCountMilliseconds();

}  // namespace sorrel::platform
