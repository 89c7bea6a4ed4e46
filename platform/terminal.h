// SPDX-License-Identifier: GPL-2.0-or-later
// The terminal the command-line programs write to.
#pragma once

#include <cstdio>

#include <QString>

namespace platform
{

// True when stream is an interactive terminal (not a file or a pipe).
bool isTerminal(std::FILE* stream);
// The width of the terminal in characters: COLUMNS when set, 80 otherwise.
int terminalColumns();

// Text as a terminal may be given it: control characters, which could move the cursor,
// change colours or the window's title, are shown as escapes ("\x1b", "\u009b"). Line
// breaks ("\n", and "\r\n" as "\n") and tabs stay.
QString escapeControls(const QString& text);
// Text as it should be written to stream: escaped when the stream is a terminal.
QString forStream(const QString& text, std::FILE* stream);

// From now on the first Ctrl+C (or termination request) of the process only sets the flag
// that interrupted() reads, so that long work can stop at its next step and tidy up after
// itself; a second one ends the process at once, as usual.
void catchInterrupts();
bool interrupted();

} // namespace platform
