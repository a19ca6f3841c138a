#include <unistd.h>

#include "Console.h"

void PrepareConsole() {}

bool IsColourTerminal(Stream stream) {
    return isatty(stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO);
}
