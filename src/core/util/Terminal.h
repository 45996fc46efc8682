#pragma once
// What the program knows of the terminal it writes to.

namespace tessel {

// The width in columns of the terminal standard output writes to: $COLUMNS
// when it holds a number, else the terminal's own; 0 when standard output is
// no terminal (a pipe, a file).
int TerminalColumns();

}  // namespace tessel
