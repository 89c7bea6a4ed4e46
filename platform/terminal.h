// The terminal the command-line programs write to.
#pragma once

#include <cstdio>

namespace platform
{

// True when stream is an interactive terminal (not a file or a pipe).
bool isTerminal(std::FILE* stream);
// The width of the terminal in characters: COLUMNS when set, 80 otherwise.
int terminalColumns();

} // namespace platform
