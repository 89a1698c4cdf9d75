#pragma once
#include <string>

// True when a name from outside (a log agent, a file) can stand as one file name inside a
// directory of ours: 1..255 bytes, not ".", no "/" and no "\" (a separator on either system), no
// ".." anywhere, no zero byte and no other control character. Anything else could reach another
// directory or confuse the operator, and is refused before it becomes part of a path.
bool qevIsPlainFileName(const std::string& name);
