// The terminal the command line writes to, where Linux and Windows differ: UTF-8 text on both,
// and colour only for a person at a terminal that shows it.
#pragma once

enum class Stream { Out, Err };

// Readies standard output and error: on Windows, bytes as written (no CRLF) and UTF-8 shown
// right on a console, the console's own code page given back at exit.
void PrepareConsole();

// Whether `stream` is a terminal that takes escape sequences (on Windows: a console with
// virtual terminal processing, turned on here).
bool IsColourTerminal(Stream stream);
